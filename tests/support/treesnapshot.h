#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

// What a folder holds, entry by entry: its kind, its permissions and a hash of a file's bytes or
// a link's target, to show that a run changed nothing it must not change. Links are not
// followed, FIFOs and devices never opened.
namespace treesnapshot {

using Snapshot = std::map<std::string, std::string>;

// Every entry below root but those whose relative path starts with except (when not empty).
inline Snapshot Take(const std::string& root, std::string_view except = {}) {
    namespace fs = std::filesystem;
    Snapshot snapshot;
    std::error_code error;
    std::error_code ignored;
    for (fs::recursive_directory_iterator
             it(root, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        const std::string path = it->path().generic_string().substr(root.size() + 1);
        if (!except.empty() && path.starts_with(except)) {
            continue;
        }
        const fs::file_status status = it->symlink_status(ignored);
        std::ostringstream contents;
        if (fs::is_regular_file(status)) {
            contents << std::ifstream(it->path(), std::ios::binary).rdbuf();
        } else if (fs::is_symlink(status)) {
            contents << fs::read_symlink(it->path(), ignored).string();
        }
        snapshot[path] = std::to_string(static_cast<int>(status.type())) + " " +
                         std::to_string(static_cast<int>(status.permissions())) + " " +
                         std::to_string(std::hash<std::string>{}(contents.str()));
    }
    return snapshot;
}

// The relative paths of every entry below root, sorted and separated by blanks.
inline std::string Paths(const std::string& root) {
    std::string text;
    for (const auto& [path, entry] : Take(root)) {
        text += (text.empty() ? "" : " ") + path;
    }
    return text;
}

}  // namespace treesnapshot
