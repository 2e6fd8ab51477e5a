/* The entry of a Unicode program: the command line arrives as UTF-16 and goes
   on to the program's main as UTF-8, the library's text encoding. Written in C
   because C lets a function call main. */
#ifndef UNICODE
#define UNICODE
#endif
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv);

int wmain(int argc, wchar_t** argv) {
    char** utf8 = (char**)calloc((size_t)argc + 1, sizeof(char*));
    for (int i = 0; utf8 != NULL && i < argc; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, NULL, 0, NULL, NULL);
        utf8[i] = (char*)calloc((size_t)(size > 0 ? size : 1), 1);
        if (utf8[i] != NULL && size > 0) {
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8[i], size, NULL, NULL);
        }
    }
    return main(argc, utf8);
}
