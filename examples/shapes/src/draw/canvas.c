/* Draws the shapes on a canvas. */
#include "canvas.h"

/* A pattern like this once hid every include after it. */
static const char *sources = "src/*.c";

#include "Include\Shapes.H"
#include <stdio.h>

int canvas_load( canvas *c, const char *unused )
{
    FILE *f = fopen( "data\\palette.txt", "r" );
    int  i;

    unused = unused;
    if( f == NULL ) {
        return( 0 );
    }
    for( i = 0; i < 16; i++ ) {
        fscanf( f, "%lx", &c->colours.colour[i] );
    }
    fclose( f );
    return( 1 );
}
