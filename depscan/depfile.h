#pragma once

#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"

// The dependency file of a project: its path without extension + "_dep.Txt".
WString DependencyFilePath(std::string_view projectPath);

enum class ExportResult { Written, EmptyTree, Failed };

// Writes the whole tree (pre-order, one blank of indent per level, CR LF line
// ends) to path, through a temporary file renamed into place. With an empty
// tree nothing is created. On Failed, reason (when given) says why.
ExportResult ExportDependencies(const WTreeStore& tree, std::string_view path, HostFs& fs,
                                std::string* reason = nullptr);
