/* Prints the measures of a few shapes as a table on the console. */
#include <stdio.h>
#include "shapes.h"

static const shape samples[] = {
    { SHAPE_CIRCLE,    1.0, 0.0, 0.0 },
    { SHAPE_RECTANGLE, 3.0, 2.0, 0.0 },
    { SHAPE_TRIANGLE,  3.0, 4.0, 5.0 }
};

int main( void )
{
    int i;

    printf( "%-10s %10s %10s\n", "shape", "area", "perimeter" );
    for( i = 0; i < sizeof( samples ) / sizeof( samples[0] ); i++ ) {
        printf( "%-10s %10.3f %10.3f\n", shape_name( &samples[i] ),
                shape_area( &samples[i] ), shape_perimeter( &samples[i] ) );
    }
    return( 0 );
}
