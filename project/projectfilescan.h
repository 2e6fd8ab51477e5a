#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"

// Reads a project file and calls onReference with each target reference, in
// file order, exactly as written (relative to the project folder). Each call
// returns before the next line is examined. False when the file cannot be
// read.
bool ScanProjectFile(HostFs& fs, std::string_view path,
                     const std::function<void(const WString& reference)>& onReference);

// Whether a file is a project file of the IDE, told from its first lines:
// every project file the IDE writes, in either form, begins with its version
// number followed by "projectIdent". The reader itself looks at neither, so
// a source or a binary named as a project is refused here, before it is read
// as one.
enum class ProjectFileCheck { Project, Unreadable, NotAProject };

// The check, and for the other two results the one line that says why
// ("cannot read project file: <reason>", "not a Watcom IDE project file:
// <path>"; the path comes last, so that shortening it keeps the reason).
ProjectFileCheck CheckProjectFile(HostFs& fs, std::string_view path, std::string& complaint);

// The project path made absolute against the current folder and folded
// lexically, so that the tree, the caption and the settings do not depend on
// how the path was typed; unchanged when that fails.
std::string AbsoluteProjectPath(const std::string& project);
