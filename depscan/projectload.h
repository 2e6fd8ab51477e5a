#pragma once

#include "depscan/scannotes.h"
#include "project/projecttree.h"

// A whole load: the project tree followed by the dependency scan, the two
// together adding at most nodeLimit nodes. notes, when given, is filled by the
// scan.
bool LoadProjectWithDependencies(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                                 ParseLiterals parseLiterals, ScanOutcome* outcome = nullptr,
                                 std::size_t nodeLimit = kDefaultNodeLimit,
                                 ScanNotes* notes = nullptr);
