#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

// What a folder holds, entry by entry: its kind, its permissions and a hash of a file's bytes or
// a link's target, to show that a run changed nothing it must not change. Links are not
// followed, FIFOs and devices never opened. Header-only: shared by the end-to-end tests and the
// whole-load fuzz target.
namespace treesnapshot {

using Snapshot = std::map<std::string, std::string>;

inline Snapshot Take(const std::string& root) {
    namespace fs = std::filesystem;
    Snapshot snapshot;
    std::error_code error;
    std::error_code ignored;
    for (fs::recursive_directory_iterator
             it(root, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(ignored);
        std::ostringstream contents;
        if (fs::is_regular_file(status)) {
            contents << std::ifstream(it->path(), std::ios::binary).rdbuf();
        } else if (fs::is_symlink(status)) {
            contents << fs::read_symlink(it->path(), ignored).string();
        }
        snapshot[it->path().generic_string().substr(root.size() + 1)] =
            std::to_string(static_cast<int>(status.type())) + " " +
            std::to_string(static_cast<int>(status.permissions())) + " " +
            std::to_string(std::hash<std::string>{}(contents.str()));
    }
    return snapshot;
}

}  // namespace treesnapshot
