/* Prints the palette next to the measures. The program runs in bin\, where it
   is built, so the palette is two folders up. */
#include <stdio.h>
#include "shapes.h"

static const char *palette_file = "..\\..\\data\\palette.txt";

void report_palette( void )
{
    char line[80];
    FILE *fp = fopen( palette_file, "r" );

    if( fp == NULL ) {
        return;
    }
    while( fgets( line, sizeof( line ), fp ) != NULL ) {
        printf( "%s", line );
    }
    fclose( fp );
}
