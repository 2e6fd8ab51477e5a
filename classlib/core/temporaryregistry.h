#pragma once

#include <functional>
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

// Creates the temporary file path (the host's own spelling) with create and
// registers it, as one step for the handler: a request to end the process
// that arrives in between waits until the file is registered, so that the
// file cannot outlive the process. Returns create's result; slot is the slot
// now holding path, or -1 when create failed or no slot is free (the file is
// then not removed on such a request, but written all the same). Installs
// the handler on first use.
bool CreateRegisteredTemporary(std::basic_string_view<TemporaryPathChar> path,
                               const std::function<bool()>& create, int& slot);
// The file of the slot is gone or kept; -1 is ignored.
void ForgetTemporary(int slot);

// For tests: called between the creation of every temporary file and its
// registration, where a request to end the process would do the most harm.
// Null removes it.
void SetTemporaryCreatedHook(void (*hook)());
