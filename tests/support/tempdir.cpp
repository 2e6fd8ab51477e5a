#include "tests/support/tempdir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

// A fresh random name, created at once: creation fails for a name already taken, so two tests
// never share a folder (Windows has no mkdtemp).
TempDir::TempDir() {
    std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path folder =
            fs::temp_directory_path() / ("tamsk-test-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            path_ = folder.generic_string();
            std::replace(path_.begin(), path_.end(), '\\', '/');  // on every host
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::string TempDir::Join(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

std::string TempDir::Write(std::string_view relative, std::string_view bytes) const {
    const std::string full = Join(relative);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
}

std::string TempDir::MakeFolder(std::string_view relative) const {
    const std::string full = Join(relative);
    fs::create_directories(full);
    return full;
}

std::string Substituted(std::string_view text,
                        const std::vector<std::pair<char, std::string>>& markers) {
    std::string result;
    for (const char c : text) {
        const auto marker = std::find_if(markers.begin(), markers.end(),
                                         [c](const auto& entry) { return entry.first == c; });
        result += marker != markers.end() ? marker->second : std::string(1, c);
    }
    return result;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string CorpusFolder() {
    const char* configured = std::getenv("TAMSK_CORPUS");
    std::error_code ignored;
    const std::string folder =
        configured != nullptr ? std::string(configured) : TAMSK_SOURCE_DIR "/../shared/corpus";
    if (fs::is_directory(folder, ignored)) {
        return fs::weakly_canonical(folder, ignored).string();
    }
    return {};
}

std::string ExamplesFolder() {
    const char* configured = std::getenv("TAMSK_EXAMPLES");
    return configured != nullptr ? configured : TAMSK_SOURCE_DIR "/examples";
}

std::string SourceFolder() { return TAMSK_SOURCE_DIR; }
