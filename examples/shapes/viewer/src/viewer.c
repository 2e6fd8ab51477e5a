/* Shows a shape file, packed with zlib, in a window. */
#include <windows.h>
#include <zlib.h>
#include "viewer.h"

int PASCAL WinMain( HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show )
{
    return( 0 );
}
