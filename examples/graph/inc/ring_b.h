#ifndef RING_B_H
#define RING_B_H
#include "ring_a.h"
#endif
