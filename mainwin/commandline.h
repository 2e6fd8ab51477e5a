#pragma once

#include <optional>
#include <string>
#include <vector>

#include "classlib/core/hostfs.h"

// The project file named on the command line or dropped on the window: one
// path of an existing regular file whose name ends in ".wpj" (in any case).
// Anything else gives nothing and, in complaint, one line saying why.
std::optional<std::string> ProjectFileOf(const std::vector<std::string>& paths, HostFs& fs,
                                         std::string& complaint);
