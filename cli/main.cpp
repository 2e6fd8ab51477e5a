#include <iostream>

#include "cli/fdoutput.h"
#include "cli/runcli.h"

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>

#include "classlib/core/utf16.h"

// Arguments arrive in UTF-16, so names outside the ANSI code page survive;
// the output is binary, so that its bytes are those written on Linux.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        args.push_back(Narrow(argv[i]));
    }
    FdOutputBuf standardOutput(_fileno(stdout));
    std::ostream out(&standardOutput);
    return RunCliProcess(args, out, std::cerr);
}

#else

#include <unistd.h>

int main(int argc, char** argv) {
    FdOutputBuf standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    return RunCliProcess({argv, argv + argc}, out, std::cerr);
}

#endif
