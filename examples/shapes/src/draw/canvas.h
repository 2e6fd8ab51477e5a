/* A canvas to draw shapes on. */
#ifndef CANVAS_H
#define CANVAS_H

#include "palette.h"

typedef struct {
    int     width;
    int     height;
    palette colours;
} canvas;

int canvas_load( canvas *c, const char *unused );

#endif
