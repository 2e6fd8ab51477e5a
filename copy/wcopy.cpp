#include "copy/wcopy.h"

#include <algorithm>
#include <optional>

#include "copy/copypaths.h"
#include "project/projectfiles.h"

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

HostStatus Refused(std::string_view path, std::string_view words) {
    return HostStatus::Failure(HostStatus::Code::Failed, "", path, words);
}

}  // namespace

WCopy::WCopy(WListStore& results, std::string_view destinationFolder, std::string_view sourceFolder,
             HostFs& fs, FolderCellSeparators separators)
    : results_(results),
      fs_(fs),
      separators_(separators),
      destination_(HostDestination(destinationFolder)),
      sourceFolder_(fs.Resolve(FoldedPath(sourceFolder, ""))),
      root_(sourceFolder_) {}

std::string WCopy::SourcePath(std::string_view name, std::string_view folder) {
    return fs_.Resolve(FoldedPath(sourceFolder_, JoinPath(folder, name)));
}

namespace {

std::string CoverKey(std::string_view name, std::string_view folder) {
    std::string key(folder);
    key += '\0';
    key += name;
    return key;
}

}  // namespace

std::optional<FileIdentity> WCopy::CoverName(std::string_view name, std::string_view folder) {
    if (IsAbsolutePath(name)) {
        return std::nullopt;
    }
    const std::string source = SourcePath(name, folder);
    coveredSources_.emplace(CoverKey(name, folder), source);
    if (fs_.Kind(source) != HostEntry::File) {
        return std::nullopt;
    }
    root_ = CommonFolder(root_, FolderOfPath(source));
    FileIdentity identity;
    if (!fs_.Identify(source, identity).ok()) {
        return std::nullopt;
    }
    readFiles_.insert(identity);
    return identity;
}

std::string WCopy::CoveredSource(std::string_view name, std::string_view folder) {
    const auto found = coveredSources_.find(CoverKey(name, folder));
    return found != coveredSources_.end() ? found->second : SourcePath(name, folder);
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
    const std::string source = absolute ? std::string() : CoveredSource(name, nameFolder);
    const std::string destination = DestinationPath(name, source);
    const std::string_view folder = FolderPart(destination);
    results_.SetCell(row, 1,
                     separators_ == FolderCellSeparators::Native ? WithNativeSeparators(folder)
                                                                 : std::string(folder));
    if (destination_.empty()) {
        return Finish(row, name, Refused("", "no destination folder was given"));
    }
    if (absolute) {
        return Finish(row, name,
                      Refused("", "an absolute name has no place below the destination"));
    }
    return Finish(row, name, CopyTo(source, destination));
}

// A missing source creates no folder; HostFs::CopyFileBelow refuses a
// destination that is the source itself or lies behind a link,
// IsReadByThisCopy one that is any other file read.
HostStatus WCopy::CopyTo(const std::string& source, const std::string& destination) {
    const HostEntry kind = fs_.Kind(source);
    // A name left uncovered has no regular file behind it, so it stops here too.
    const std::optional<std::string> relative = RelativeBelow(root_, source);
    if (kind != HostEntry::File || !relative.has_value()) {
        return Refused(source, kind == HostEntry::Missing ? "not found" : "not a regular file");
    }
    FileIdentity sourceIdentity;
    if (fs_.Identify(source, sourceIdentity).ok() && writtenFiles_.count(sourceIdentity) > 0) {
        return Refused(source, "was written by this copy; not read as a source");
    }
    if (IsReadByThisCopy(destination)) {
        return Refused(destination, kReadByProjectWords);
    }
    if (HostStatus made = MakeDestination(); !made.ok()) {
        return made;
    }
    HostStatus copied = fs_.CopyFileBelow(source, destination_, *relative);
    FileIdentity written;
    if (copied.ok() && fs_.Identify(destination, written).ok()) {
        writtenFiles_.insert(written);
    }
    return copied;
}

// The destination folder itself may be reached through links: it is the user's choice.
HostStatus WCopy::MakeDestination() {
    if (destinationMade_) {
        return HostStatus::Ok();
    }
    HostStatus made = CreateFoldersAlong(destination_);
    destinationMade_ = made.ok();
    return made;
}

bool WCopy::IsReadByThisCopy(const std::string& path) {
    FileIdentity identity;
    return fs_.Identify(path, identity).ok() && readFiles_.count(identity) > 0;
}

// Makes each folder of the path's prefixes; one that is there already, made
// by anyone, is fine. An existing file where a folder is needed fails at
// once: the copy below it could not succeed.
HostStatus WCopy::CreateFoldersAlong(const std::string& destinationPath) {
    // A drive or share is no folder to make; on POSIX the root is skipped.
    const std::size_t start = HostRootOf(destinationPath).size() + 1;
    for (std::size_t slash = destinationPath.find('/', start); slash != std::string::npos;
         slash = destinationPath.find('/', slash + 1)) {
        const std::string prefix = destinationPath.substr(0, slash);
        if (prefix.empty() || prefix.back() == '/') {
            continue;
        }
        if (HostStatus created = fs_.CreateFolder(prefix); !created.ok()) {
            return created;
        }
    }
    return HostStatus::Ok();
}

bool WCopy::Finish(int row, std::string_view name, const HostStatus& status) {
    const bool copied = status.ok();
    results_.SetCell(row, 2, copied ? kCopiedText : kFailedText);
    ++(copied ? copied_ : failed_);
    if (!copied) {
        reasons_.push_back(FailureReason("cannot copy", name, status.reason));
    }
    return copied;
}
