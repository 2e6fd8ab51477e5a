/* Plane shapes and their measures, shared by every target of the project. */
#ifndef SHAPES_H
#define SHAPES_H

typedef enum { SHAPE_CIRCLE, SHAPE_RECTANGLE, SHAPE_TRIANGLE } shape_kind;

typedef struct {
    shape_kind kind;
    double a; /* radius, width or first side */
    double b; /* height or second side */
    double c; /* third side of a triangle */
} shape;

double shape_area( const shape *s );
double shape_perimeter( const shape *s );
const char *shape_name( const shape *s );

#endif
