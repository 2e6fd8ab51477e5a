#pragma once

#include <string_view>

// The temporary files being written, kept where the handler of a request to
// end the process can reach them, so that an export or copy ended from
// outside leaves nothing behind: SIGINT, SIGTERM and SIGHUP on POSIX; Ctrl+C,
// Ctrl+Break and closing the console on Windows. The handler makes only calls
// that are safe there, so the paths sit in fixed slots claimed with atomic
// flags.
#ifdef _WIN32
using TemporaryPathChar = wchar_t;
#else
using TemporaryPathChar = char;
#endif

// The slot now holding path (the host's own spelling), or -1 when none is
// free: the file is then not removed on such a request, but written all the
// same. Installs the handler on first use.
int RegisterTemporary(std::basic_string_view<TemporaryPathChar> path);
// The file of the slot is gone or kept; -1 is ignored.
void ForgetTemporary(int slot);
