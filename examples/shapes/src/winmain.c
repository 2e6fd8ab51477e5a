/* Shows the measures of a few shapes in a window. */
#include <windows.h>
#include <stdio.h>
#include "shapes.h"
#include "resource.h"

static const shape samples[] = {
    { SHAPE_CIRCLE,    1.0, 0.0, 0.0 },
    { SHAPE_RECTANGLE, 3.0, 2.0, 0.0 },
    { SHAPE_TRIANGLE,  3.0, 4.0, 5.0 }
};

static void paint_table( HWND hwnd )
{
    PAINTSTRUCT ps;
    HDC         dc;
    char        line[80];
    int         i;

    dc = BeginPaint( hwnd, &ps );
    for( i = 0; i < sizeof( samples ) / sizeof( samples[0] ); i++ ) {
        sprintf( line, "%-10s area %8.3f  perimeter %8.3f", shape_name( &samples[i] ),
                 shape_area( &samples[i] ), shape_perimeter( &samples[i] ) );
        TextOut( dc, 10, 10 + 20 * i, line, lstrlen( line ) );
    }
    EndPaint( hwnd, &ps );
}

LRESULT CALLBACK MainWndProc( HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam )
{
    switch( msg ) {
    case WM_PAINT:
        paint_table( hwnd );
        return( 0 );
    case WM_COMMAND:
        if( LOWORD( wparam ) == IDM_EXIT ) {
            DestroyWindow( hwnd );
        } else if( LOWORD( wparam ) == IDM_ABOUT ) {
            MessageBox( hwnd, "Shapes 1.0", "About", MB_OK );
        }
        return( 0 );
    case WM_DESTROY:
        PostQuitMessage( 0 );
        return( 0 );
    }
    return( DefWindowProc( hwnd, msg, wparam, lparam ) );
}

int PASCAL WinMain( HINSTANCE inst, HINSTANCE prev, LPSTR cmdline, int show )
{
    WNDCLASS wc;
    HWND     hwnd;
    MSG      msg;
    char     title[64];

    cmdline = cmdline;
    if( prev == NULL ) {
        memset( &wc, 0, sizeof( wc ) );
        wc.lpfnWndProc = MainWndProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor( NULL, IDC_ARROW );
        wc.hbrBackground = (HBRUSH)( COLOR_WINDOW + 1 );
        wc.lpszMenuName = MAKEINTRESOURCE( IDM_MAIN );
        wc.lpszClassName = "ShapesClass";
        if( !RegisterClass( &wc ) ) {
            return( 1 );
        }
    }
    LoadString( inst, IDS_TITLE, title, sizeof( title ) );
    hwnd = CreateWindow( "ShapesClass", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, 480, 160, NULL, NULL, inst, NULL );
    ShowWindow( hwnd, show );
    UpdateWindow( hwnd );
    while( GetMessage( &msg, NULL, 0, 0 ) ) {
        TranslateMessage( &msg );
        DispatchMessage( &msg );
    }
    return( msg.wParam );
}
