#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/fakehostfs.h"
#include "tests/support/memoryhostfs.h"

// Shared by the fuzz targets: a file system in memory, and a check that stops the run loudly
// (libFuzzer then keeps the input as a crash file that replays the finding).

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

// The file system of one run, in memory, so that a run costs what the readers cost and nothing
// waits for a disk: files are put into it with files.AddFile, and the readers go through fs,
// which keeps a log of what they read.
struct MemoryFiles {
    MemoryFiles() : MemoryFiles(std::make_unique<MemoryHostFs>()) {}
    MemoryHostFs& files;
    FakeHostFs fs;

private:
    explicit MemoryFiles(std::unique_ptr<MemoryHostFs> memory)
        : files(*memory), fs(std::move(memory)) {}
};

// The input split at each separator; always at least one piece.
inline std::vector<std::string_view> SplitInput(std::string_view data, std::string_view separator) {
    std::vector<std::string_view> pieces;
    for (std::size_t at; (at = data.find(separator)) != std::string_view::npos;) {
        pieces.push_back(data.substr(0, at));
        data.remove_prefix(at + separator.size());
    }
    pieces.push_back(data);
    return pieces;
}

// Each target defines FuzzInput; this is the entry point libFuzzer calls.
void FuzzInput(std::string_view bytes);
extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzInput(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
