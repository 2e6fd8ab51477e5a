#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"
#include "depscan/dependencygraph.h"
#include "project/projecttree.h"

// The dependency scan of a whole loaded project, target by target, source by
// source, as the last step of a load. Each target's names resolve against its
// folder (TargetFolderOf); the process's current folder is never changed.
//
// Every file is read once per target folder, however many places include it,
// and the target's file list is filled; the nested dependency nodes are not
// added: the tree gets a DependencyView that makes them when they are asked
// for, and every walk over the tree (DumpTree, the export, the search) sees
// them. The work limit bounds those walks, not the load: the load stops only
// when a file list can be known no other way than by walking an expanded
// tree that passes it (names searched through the chain inside a cycle).
ScanOutcome BuildDependencies(WTreeStore& tree, const WString& projectFolder, HostFs& fs,
                              const ScanOptions& options);

// What a loaded project is made of, per target and in total.
struct DependencyStats {
    struct Target {
        std::string label;
        std::size_t sources = 0;
        std::size_t uniqueFiles = 0;    // files read (libraries: found), each once however named
        std::size_t includeEdges = 0;   // resolved include directives of those files
        std::size_t filesNotFound = 0;  // include names that resolve to no file, each once
        std::size_t expandedNodes = 0;  // nodes of the target's subtree, the target's included
    };
    std::vector<Target> targets;
    std::size_t uniqueFiles = 0;
    std::size_t expandedNodes = 0;  // nodes of the whole tree
    bool complete = true;           // false when counting passed the work limit
};

// Counts the loaded tree without expanding it: a file's subtree is counted
// once wherever its size cannot depend on the chain above it. Counting walks
// at most nodeLimit nodes.
DependencyStats CountDependencies(const WTreeStore& tree, std::size_t nodeLimit);
