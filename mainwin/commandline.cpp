#include "mainwin/commandline.h"

#include "classlib/core/wstring.h"

namespace {

bool HasProjectExtension(const std::string& path) {
    constexpr std::string_view kExtension = ".wpj";
    return path.size() > kExtension.size() &&
           WString(std::string_view(path).substr(path.size() - kExtension.size()))
                   .Compare(WString(kExtension), false) == 0;
}

}  // namespace

std::optional<std::string> ProjectFileOf(const std::vector<std::string>& paths, HostFs& fs,
                                         std::string& complaint) {
    complaint.clear();
    if (paths.size() != 1) {
        complaint = "expected one project file (*.wpj), got " + std::to_string(paths.size()) +
                    " arguments; none opened";
        return std::nullopt;
    }
    const std::string& path = paths.front();
    if (!HasProjectExtension(path)) {
        complaint = "not a project file (*.wpj): " + path;
        return std::nullopt;
    }
    const HostEntry kind = fs.Kind(path);
    if (kind != HostEntry::File) {
        complaint = (kind == HostEntry::Missing ? "no such project file: " : "not a file: ") + path;
        return std::nullopt;
    }
    return path;
}
