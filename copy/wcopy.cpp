#include "copy/wcopy.h"

#include <algorithm>
#include <optional>

#include "copy/copypaths.h"

namespace {

constexpr std::string_view kCopiedText = "copied";
constexpr std::string_view kFailedText = "failed";

std::string HostDestination(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    std::string folder = WithHostSeparators(text);
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

}  // namespace

WCopy::WCopy(WListStore& results, std::string_view destinationFolder, std::string_view sourceFolder,
             HostFs& fs)
    : results_(results),
      fs_(fs),
      destination_(HostDestination(destinationFolder)),
      sourceFolder_(fs.Resolve(FoldedPath(sourceFolder, ""))),
      root_(sourceFolder_) {}

std::string WCopy::SourcePath(std::string_view name, std::string_view folder) {
    return fs_.Resolve(FoldedPath(sourceFolder_, JoinPath(folder, name)));
}

void WCopy::CoverName(std::string_view name, std::string_view folder) {
    if (IsAbsolutePath(name)) {
        return;
    }
    const std::string source = SourcePath(name, folder);
    if (fs_.Kind(source) == HostEntry::File) {
        root_ = CommonFolder(root_, FolderOfPath(source));
    }
}

// Where the file goes: the destination followed by the source's path below
// the copy root. A source outside the root (an uncovered name) has no place;
// its row then names the destination folder itself.
std::string WCopy::DestinationPath(std::string_view name, const std::string& source) const {
    const std::string folder = destination_.empty() ? std::string("/") : destination_;
    if (IsAbsolutePath(name)) {
        return folder;
    }
    const std::optional<std::string> relative = RelativeBelow(root_, source);
    return folder + relative.value_or(std::string());
}

bool WCopy::CopyOne(std::string_view name, std::string_view nameFolder) {
    const int row = results_.AppendRow(name);
    const bool absolute = IsAbsolutePath(name);
    const std::string source = absolute ? std::string() : SourcePath(name, nameFolder);
    const std::string destination = DestinationPath(name, source);
    const bool writable =
        !absolute && !destination_.empty() && RelativeBelow(root_, source).has_value();

    // A missing source creates no folder; HostFs::CopyFile refuses a
    // destination that is the source itself.
    const bool copied = writable && fs_.Kind(source) == HostEntry::File &&
                        CreateFoldersAlong(destination) && fs_.CopyFile(source, destination).ok();

    // Once written, the folder is shown as the disk spells it: an existing
    // folder that differs only in case received the file.
    const std::string folder(FolderPart(destination));
    results_.SetCell(row, 1, writable ? fs_.Resolve(folder) : folder);
    return Finish(row, copied);
}

// Creates each missing folder of the path's prefixes. An existing file where
// a folder is needed fails at once: the copy below it could not succeed.
bool WCopy::CreateFoldersAlong(const std::string& destinationPath) {
    for (std::size_t slash = destinationPath.find('/', 1); slash != std::string::npos;
         slash = destinationPath.find('/', slash + 1)) {
        const std::string prefix = destinationPath.substr(0, slash);
        if (prefix.empty() || prefix.back() == '/') {
            continue;
        }
        const HostEntry kind = fs_.Kind(prefix);
        if (kind == HostEntry::Folder) {
            continue;
        }
        if (kind != HostEntry::Missing || !fs_.CreateFolder(prefix).ok()) {
            return false;
        }
    }
    return true;
}

bool WCopy::Finish(int row, bool copied) {
    results_.SetCell(row, 2, copied ? kCopiedText : kFailedText);
    ++(copied ? copied_ : failed_);
    return copied;
}
