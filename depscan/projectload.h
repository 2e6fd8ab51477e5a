#pragma once

#include "project/projecttree.h"

// A whole load: the project tree followed by the dependency scan, the two
// together adding at most nodeLimit nodes.
bool LoadProjectWithDependencies(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                                 ParseLiterals parseLiterals, ScanOutcome* outcome = nullptr,
                                 std::size_t nodeLimit = kDefaultNodeLimit);
