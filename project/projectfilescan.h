#pragma once

#include <functional>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"

// Reads a project file and calls onReference with each target reference, in
// file order, exactly as written (relative to the project folder). Each call
// returns before the next line is examined. False when the file cannot be
// read.
bool ScanProjectFile(HostFs& fs, std::string_view path,
                     const std::function<void(const WString& reference)>& onReference);
