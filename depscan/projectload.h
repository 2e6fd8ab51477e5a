#pragma once

#include "project/projecttree.h"

// A whole load: the project tree followed by the dependency scan.
bool LoadProjectWithDependencies(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                                 ParseLiterals parseLiterals, ScanOutcome* outcome = nullptr);
