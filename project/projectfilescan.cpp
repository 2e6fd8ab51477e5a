#include "project/projectfilescan.h"

#include <algorithm>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/pathrules.h"

#include "project/linesource.h"

// A target reference in a project file, counted from the "VComponent" line:
//
// | line after "VComponent" | rule                                                     |
// |-------------------------|----------------------------------------------------------|
// | any, "VComponent"       | a new reference starts; an open one is abandoned          |
// | 10, not "WFileName"     | the reference is abandoned                                |
// | 12                      | the target file's name, relative to the project folder   |
// | 13 and later            | ignored until the next "VComponent"                       |
//
// Nothing else of the file is examined: no header, no version line. The
// project file may be in either form of LineSource.

namespace {

constexpr int kNoReference = -1;
constexpr int kClassLine = 10;
constexpr int kReferenceLine = 12;

bool IsNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool BeginsAsAProject(LineSource& lines) {
    std::string_view version;
    std::string_view ident;
    return lines.Next(version) && IsNumber(version) && lines.Next(ident) && ident == "projectIdent";
}

// On POSIX ".." after a symbolic link climbs from the link's target, which
// text cannot know: a project path with ".." has its folder resolved by the
// system instead of by LexicallyFolded. Windows itself folds ".." as text.
bool DotDotLeftToSystem(std::string_view path) {
#ifdef _WIN32
    static_cast<void>(path);
    return false;
#else
    const std::vector<std::string_view> components = PathComponents(path);
    return std::find(components.begin(), components.end(), "..") != components.end();
#endif
}

}  // namespace

ProjectFileCheck CheckProjectFile(HostFs& fs, std::string_view path, std::string& complaint) {
    complaint.clear();
    LineSource lines;
    if (const HostStatus read = lines.Load(fs, path); !read.ok()) {
        complaint = "cannot read project file: " + read.reason;
        return ProjectFileCheck::Unreadable;
    }
    if (!BeginsAsAProject(lines)) {
        complaint = "not a Watcom IDE project file: " + std::string(path);
        return ProjectFileCheck::NotAProject;
    }
    return ProjectFileCheck::Project;
}

bool ScanProjectFile(HostFs& fs, std::string_view path,
                     const std::function<void(const WString& reference)>& onReference) {
    LineSource lines;
    if (!lines.Load(fs, path).ok()) {
        return false;
    }
    int counter = kNoReference;
    std::string_view line;
    while (lines.Next(line)) {
        if (line == "VComponent") {
            counter = 0;
            continue;
        }
        if (counter == kNoReference) {
            continue;
        }
        ++counter;
        if (counter == kClassLine && line != "WFileName") {
            counter = kNoReference;
        } else if (counter == kReferenceLine) {
            // Lines after the reference are ignored until the next "VComponent".
            counter = kNoReference;
            onReference(WString(line));
        }
    }
    return true;
}

// The tree must not depend on how the path was typed: the load dialog of the
// window gives absolute paths, and the compiler folder is matched on places.
std::string AbsoluteProjectPath(const std::string& project) {
    std::string path = project;
    if (!IsHostAbsolutePath(path)) {
        const std::string current = HostFs::CurrentFolder();
        if (current.empty()) {
            return project;
        }
        path = current + "/" + path;
    }
    if (DotDotLeftToSystem(path)) {
        const std::string folder = HostFs::SystemFolderPath(FolderOfPath(path));
        return folder.empty() ? path : folder + "/" + std::string(FileNameOfPath(path));
    }
    return WithNativeSeparators(LexicallyFolded(path));
}
