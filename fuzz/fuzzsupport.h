#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// Shared by the fuzz targets: a scratch folder per process, file writing, and a check that stops
// the run loudly (libFuzzer then keeps the input as a crash file that replays the finding).

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

// Made on first use, in memory when there is /dev/shm (rewriting a file on disk on every run
// makes the fuzzer wait for writeback), and removed with everything in it when the process ends.
inline const std::string& ScratchFolder() {
    struct Scratch {
        std::string path = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/tamsk-fuzz-XXXXXX"
                                                                     : "/tmp/tamsk-fuzz-XXXXXX";
        Scratch() { FUZZ_CHECK(mkdtemp(path.data()) != nullptr); }
        ~Scratch() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Scratch scratch;
    return scratch.path;
}

// Writes bytes to ScratchFolder()/relative, creating folders; returns the path.
inline std::string WriteScratchFile(std::string_view relative, std::string_view bytes) {
    const std::string path = ScratchFolder() + "/" + std::string(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    return path;
}

// Empties the scratch folder (keeps the folder itself).
inline void ClearScratch() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

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
