#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wliststore.h"
#include "classlib/core/wtreestore.h"
#include "copy/wcopy.h"

struct CopyRunSummary {
    bool ran = false;  // false: empty tree or no project folder, no row added
    int copied = 0;
    int failed = 0;
    std::vector<std::string> reasons;  // one line per failed row: the file, what was tried, why
};

// The copy run: the project file, each target file and every file listed
// under each target's "Filelist", one result row each ("Filename",
// "Destination Folder", "Result") appended to results as the run goes on.
// results must already hold its three columns.
CopyRunSummary RunProjectCopy(const WTreeStore& tree, std::string_view destination,
                              WListStore& results, HostFs& fs,
                              FolderCellSeparators separators = FolderCellSeparators::Portable);

// The line under the copy dialog's list after a run: how many files were
// copied and how many failed, with the first reason when any failed.
std::string CopyRunSummaryText(const CopyRunSummary& summary);

// Copies every file path node two levels below the target's last "Filelist"
// child, each taken relative to the target's folder, and sizes the three
// result columns to their cells after each extension node, also one without
// children.
void CopyTargetFiles(const WTreeStore& tree, WTreeItem target, WCopy& worker);
