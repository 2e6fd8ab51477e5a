#pragma once

#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wliststore.h"
#include "classlib/core/wtreestore.h"

struct CopyRunSummary {
    bool ran = false;  // false: empty tree or no project folder, no row added
    int copied = 0;
    int failed = 0;
};

// The copy run: the project file, each target file and every file listed
// under each target's "Filelist", one result row each ("Filename",
// "Destination Folder", "Result") appended to results as the run goes on.
// results must already hold its three columns.
CopyRunSummary RunProjectCopy(const WTreeStore& tree, std::string_view destination,
                              WListStore& results, HostFs& fs);
