#pragma once

#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"
#include "project/projecttree.h"

// The dependency file of a project: its path without extension + "_dep.Txt".
WString DependencyFilePath(std::string_view projectPath);

// Stopped: the file holds the first nodeLimit lines only.
enum class ExportResult { Written, Stopped, EmptyTree, Failed };

// Writes the whole tree (pre-order, one blank of indent per level, CR LF line
// ends, dependency nodes made or not) to path, through a temporary file
// renamed into place, writing at most nodeLimit lines. With an empty tree
// nothing is created. On Failed, reason (when given) says why; lines (when
// given) receives the number of lines written.
ExportResult ExportDependencies(const WTreeStore& tree, std::string_view path, HostFs& fs,
                                std::string* reason = nullptr,
                                std::size_t nodeLimit = kDefaultNodeLimit,
                                std::size_t* lines = nullptr);
