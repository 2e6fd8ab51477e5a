#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "classlib/core/pathrules.h"

// Path arithmetic of the copy run. Names from the tree use '\' (Windows
// projects), host paths use '/'; every function here accepts both and
// returns host paths with '/' only.

// The absolute host path of name taken relative to folder (folder itself
// taken relative to the current folder when it is not absolute), folded by
// LexicallyFolded: ".." never climbs above the root.
std::string FoldedPath(std::string_view folder, std::string_view name);

// The deepest folder that holds both folded paths, components compared
// exactly ("/a/b/c" and "/a/bx" -> "/a"); a final separator does not count.
std::string CommonFolder(std::string_view a, std::string_view b);

// foldedPath relative to the folded folder root ("/a", "/a/b/c" -> "b/c"),
// or nothing when it does not lie below root.
std::optional<std::string> RelativeBelow(std::string_view root, std::string_view foldedPath);

// A path up to, not including, its last separator; the whole path if it has
// none.
std::string_view FolderPart(std::string_view path);
