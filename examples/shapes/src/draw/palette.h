/* The colours of a canvas; a palette and its canvas name each other. */
#ifndef PALETTE_H
#define PALETTE_H

#include "canvas.h"

typedef struct {
    unsigned long colour[16];
} palette;

#endif
