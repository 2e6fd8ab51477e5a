#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wliststore.h"
#include "classlib/core/wobject.h"

// How the "Destination Folder" cells write separators: '/' on every host (the
// command line's output is the same everywhere), or as the platform's users
// write paths (a window).
enum class FolderCellSeparators { Portable, Native };

// The copy worker of one run: copies files named relative to the project
// folder into the destination folder and appends one result row per file
// ("Filename", "Destination Folder", "Result").
//
// Names may reach above the project folder ("..\..\png.c"). So that nothing
// is written outside the destination and the copy keeps the project's
// layout, the copy is rooted at the deepest folder that holds the project
// folder and every listed file: call CoverName for every name before the
// first CopyOne. A project whose files all lie in or below its folder is
// rooted at the project folder itself.
//
// Relative paths below the destination are rebuilt from the on-disk spelling
// of the sources, so the copy never gets two folders that differ only in
// letter case; the destination itself and the folders made below it are
// named exactly as given.
//
// A copy never writes onto a file that it reads: every file covered (the
// project file, the target files, the listed files) is known by its identity
// on the host, and a row whose destination is one of them fails, leaving the
// file untouched. Nor does it read what it wrote: each name keeps the source
// it was covered with, and a source that this copy wrote is refused. Below
// the destination no link is followed.
class WCopy : public WObject {
public:
    // An empty destination names no folder: every row then reads "failed"
    // and nothing is written (on Windows it meant the root of the current
    // drive; on a POSIX host that would be "/").
    WCopy(WListStore& results, std::string_view destinationFolder, std::string_view sourceFolder,
          HostFs& fs, FolderCellSeparators separators = FolderCellSeparators::Portable);

    // Widens the copy root so that it holds name's source and notes the
    // source's identity. name is relative to folder, itself relative to the
    // project folder (a target's folder; empty for the project folder).
    // Absolute names and names without a regular file behind them leave the
    // root as it is. The identity of the source, when it was covered.
    std::optional<FileIdentity> CoverName(std::string_view name, std::string_view folder = {});

    // True when path is one of the files covered so far (the same file, by
    // its identity on the host).
    bool IsReadByThisCopy(const std::string& path);

    // Appends the row of name and attempts the copy; true when it was copied.
    // A missing or non-regular source, an absolute name, a file standing where
    // a folder is needed, a destination that is the source itself or a failed
    // write give "failed", with its reason kept in Reasons(). A replaced file
    // is replaced whole or not at all. name is relative to nameFolder, as for
    // CoverName; the row shows name.
    bool CopyOne(std::string_view name, std::string_view nameFolder = {});

    WListStore& Results() { return results_; }
    // The folded, on-disk spelling of the folder the copy is rooted at.
    const std::string& CopyRoot() const { return root_; }
    int CopiedCount() const { return copied_; }
    int FailedCount() const { return failed_; }
    // One line per failed row, in row order: the file, what was tried, why.
    const std::vector<std::string>& Reasons() const { return reasons_; }

private:
    std::string SourcePath(std::string_view name, std::string_view folder);
    // The source a covered name was resolved to, else resolved now.
    std::string CoveredSource(std::string_view name, std::string_view folder);
    std::string DestinationPath(std::string_view name, const std::string& source) const;
    HostStatus CopyTo(const std::string& source, const std::string& destination);
    HostStatus CreateFoldersAlong(const std::string& destinationPath);
    HostStatus MakeDestination();
    bool Finish(int row, std::string_view name, const HostStatus& status);

    WListStore& results_;
    HostFs& fs_;
    FolderCellSeparators separators_;
    std::string destination_;  // with trailing '/'; empty: no destination
    std::string sourceFolder_;
    std::string root_;
    int copied_ = 0;
    int failed_ = 0;
    bool destinationMade_ = false;
    std::set<FileIdentity> readFiles_;
    std::set<FileIdentity> writtenFiles_;
    // folder + '\0' + name -> source, as resolved before the first write.
    std::unordered_map<std::string, std::string> coveredSources_;
    std::vector<std::string> reasons_;
};
