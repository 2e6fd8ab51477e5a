/* Windows 3.x DLL that lends the shape measures to other programs. */
#include <windows.h>
#include "shapes.h"

int FAR PASCAL LibMain( HINSTANCE inst, WORD dataseg, WORD heapsize, LPSTR cmdline )
{
    inst = inst;
    dataseg = dataseg;
    cmdline = cmdline;
    if( heapsize > 0 ) {
        UnlockData( 0 );
    }
    return( 1 );
}

int FAR PASCAL WEP( int param )
{
    param = param;
    return( 1 );
}

double FAR PASCAL __export ShapeArea( const shape FAR *s )
{
    shape local = *s;

    return( shape_area( &local ) );
}

double FAR PASCAL __export ShapePerimeter( const shape FAR *s )
{
    shape local = *s;

    return( shape_perimeter( &local ) );
}
