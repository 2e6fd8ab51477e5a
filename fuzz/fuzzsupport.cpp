#include "fuzz/fuzzsupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct Scratch {
    std::string path;

    Scratch() {
        // A memory file system when there is one: rewriting a file on disk
        // on every run makes the fuzzer wait for writeback.
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "tamsk-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& ScratchFolder() {
    static Scratch scratch;
    return scratch.path;
}

std::string WriteScratchFile(std::string_view relative, std::string_view bytes) {
    const fs::path full = fs::path(ScratchFolder()) / fs::path(std::string(relative));
    std::error_code ignored;
    fs::create_directories(full.parent_path(), ignored);
    fs::remove(full, ignored);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full.string();
}

void ClearScratch() {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(ScratchFolder(), ignored)) {
        fs::remove_all(entry.path(), ignored);
    }
}

std::vector<std::string_view> SplitInput(std::string_view data, std::string_view separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = data.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.push_back(data.substr(start));
            return pieces;
        }
        pieces.push_back(data.substr(start, at - start));
        start = at + separator.size();
    }
}

std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        const std::string relative = fs::relative(path, folder).string();
        if (it->is_symlink()) {
            files.emplace_back(relative, "-> " + fs::read_symlink(path, error).string());
        } else if (it->is_regular_file()) {
            std::ifstream in(path, std::ios::binary);
            files.emplace_back(relative, std::string(std::istreambuf_iterator<char>(in), {}));
        } else if (it->is_directory()) {
            files.emplace_back(relative + "/", "");
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void FuzzFailure(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}
