#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Shared by the fuzz targets: a scratch folder per process, file writing, and
// a check that stops the run loudly (libFuzzer then keeps the input as a
// crash file that replays the finding).

// The process's scratch folder ("/dev/shm/tamsk-fuzz-XXXXXX" or under the temporary folder), made
// on first use and removed with everything in it when the process ends.
const std::string& ScratchFolder();

// Writes bytes to ScratchFolder()/relative, creating folders; returns the path.
std::string WriteScratchFile(std::string_view relative, std::string_view bytes);

// Empties the scratch folder (keeps the folder itself).
void ClearScratch();

// Splits data at each occurrence of separator; always at least one piece.
std::vector<std::string_view> SplitInput(std::string_view data, std::string_view separator);

// Every regular file below folder with its bytes, keyed by relative path;
// symbolic links are listed as "-> target" and not followed.
std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& folder);

[[noreturn]] void FuzzFailure(const char* file, int line, const char* what);

#define FUZZ_CHECK(condition)                            \
    do {                                                 \
        if (!(condition))                                \
            FuzzFailure(__FILE__, __LINE__, #condition); \
    } while (false)
