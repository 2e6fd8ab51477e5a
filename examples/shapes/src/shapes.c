/* Measures of the plane shapes. */
#include <math.h>
#include "shapes.h"

#define PI 3.14159265358979323846

double shape_area( const shape *s )
{
    double half;

    switch( s->kind ) {
    case SHAPE_CIRCLE:
        return( PI * s->a * s->a );
    case SHAPE_RECTANGLE:
        return( s->a * s->b );
    case SHAPE_TRIANGLE:
        /* Heron's formula */
        half = ( s->a + s->b + s->c ) / 2.0;
        return( sqrt( half * ( half - s->a ) * ( half - s->b ) * ( half - s->c ) ) );
    }
    return( 0.0 );
}

double shape_perimeter( const shape *s )
{
    switch( s->kind ) {
    case SHAPE_CIRCLE:
        return( 2.0 * PI * s->a );
    case SHAPE_RECTANGLE:
        return( 2.0 * ( s->a + s->b ) );
    case SHAPE_TRIANGLE:
        return( s->a + s->b + s->c );
    }
    return( 0.0 );
}

const char *shape_name( const shape *s )
{
    switch( s->kind ) {
    case SHAPE_CIRCLE:    return( "circle" );
    case SHAPE_RECTANGLE: return( "rectangle" );
    case SHAPE_TRIANGLE:  return( "triangle" );
    }
    return( "shape" );
}
