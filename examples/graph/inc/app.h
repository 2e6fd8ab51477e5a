#ifndef APP_H
#define APP_H
#include "units.h"
int Area(int side);
#endif
