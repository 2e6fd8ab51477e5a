#include "tests/support/tempdir.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

#ifdef _WIN32
#include <io.h>
// The C runtime makes the unique name; the folder is created here.
static char* mkdtemp(char* pattern) {
    return _mktemp_s(pattern, std::strlen(pattern) + 1) == 0 && fs::create_directory(pattern)
               ? pattern
               : nullptr;
}
#endif

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tamsk-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    std::replace(pattern.begin(), pattern.end(), '\\', '/');
    path_ = pattern;
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
