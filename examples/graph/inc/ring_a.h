#ifndef RING_A_H
#define RING_A_H
#include "ring_b.h"
#endif
