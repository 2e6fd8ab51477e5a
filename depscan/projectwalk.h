#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/wtreestore.h"
#include "depscan/scannotes.h"
#include "project/projecttree.h"

// The one way the outputs of a loaded project (JSON, make rules, Graphviz,
// the compilation database, missing names, includers, cycles) read it: a walk
// that visits, per target, its details, each source with the files of its
// expanded tree in pre-order (made by the dependency view as the walk goes,
// never stored), its file list and its missing names. Nothing is copied out of
// the tree: each output keeps only what it needs itself.

// A loaded project: the tree with what its scan noted besides.
struct LoadedProject {
    WTreeStore tree;
    ScanNotes notes;
    // A walk visits at most this many files of the sources' dependency trees.
    std::size_t nodeLimit = kDefaultNodeLimit;
    // Set by a walk that stopped there: what it visited is all its visitor got.
    mutable bool walkStopped = false;
};

// One switch line of a target.
struct SwitchFacts {
    std::string_view group;  // "Debug" or "Release"
    std::string_view tool;   // between the parentheses; empty when the line has none
    std::string_view text;   // the rest of the line
};

// A target's details, as the tree shows them.
struct TargetFacts {
    WTreeItem item = kNoItem;
    std::string_view reference;  // the target file as the project file names it
    std::string name;            // the target file's base name
    // Absent when the target file could not be read that far.
    std::optional<std::string_view> imageType;  // the description
    std::optional<std::string_view> targetName;
    std::optional<std::string_view> defaultIncludeDirectories;
    std::vector<SwitchFacts> switches;
    // The target's folder: the names of its sources and of the files they
    // lead to are relative to it.
    std::string folder;
    // The include directory list the scan searched, "$(%watcom)" expanded,
    // split into its pieces, in order.
    std::vector<std::string> includeDirectories;
};

// One file of a source's expanded tree.
struct FileVisit {
    int depth = 0;           // 0 for the source item, 1 for what it names, and so on
    std::string_view label;  // as the tree shows it
    WTreeLabel labelId = 0;  // equal ids, equal labels
    bool cycleCut = false;   // already open higher up its own chain: named, not expanded
    // Read here, its own files following: which file it is in its target;
    // whether they are the same files wherever it stands in the target (no
    // name below it is searched through the chain); and whether they also
    // stand in the same tree (no file of its include cycle is open above it,
    // which would cut the cycle at another place).
    bool expanded = false;
    bool sameEverywhere = false;
    bool sameTreeEverywhere = false;
    std::uint32_t file = 0;
};

class ProjectVisitor {
public:
    virtual ~ProjectVisitor() = default;
    virtual void BeginTarget(const TargetFacts&) {}
    // Each source item, then the files of its expanded tree, in pre-order.
    virtual void File(const FileVisit&) {}
    // False for a visitor that reads only the source items (and no missing
    // names): their expanded trees are not walked.
    virtual bool WantsDependencies() const { return true; }
    // Asked after File for an expanded file with the same tree everywhere: the
    // visitor may stand in for the visits of its files, at most room of them,
    // with what it kept when it met them before in the target, and returns how
    // many it stood in for (0: they are visited). They count towards the
    // walk's limit as if visited.
    virtual std::size_t CopyBelow(const FileVisit&, std::size_t /*room*/) { return 0; }
    // Asked after File (and CopyBelow) for an expanded file: true passes its
    // own files by. A file the same everywhere whose files were visited before
    // in the same target leads to no file and no includes pair that were not
    // visited then (below a file met again stand only files met with it, or
    // above it).
    virtual bool PassBelow(const FileVisit&) { return false; }
    // The target's file list: each extension group and its paths, in tree order.
    virtual void ListedFile(std::string_view /*extension*/, std::string_view /*path*/) {}
    virtual void Missing(const MissingName&) {}
    virtual void EndTarget(const TargetFacts&) {}
};

// The project file's name as the tree names it ("shapes.wpj"); empty for an
// empty tree.
std::string_view ProjectFileName(const LoadedProject& project);
// The project folder, ending with a separator; empty for an empty tree.
std::string_view ProjectFolder(const LoadedProject& project);

// Visits the targets in tree order. Walks without recursion, so any depth of
// includes is safe. Past project.nodeLimit files it visits no more of them nor
// further targets (the target under way still ends) and returns false.
bool WalkProject(const LoadedProject& project, ProjectVisitor& visitor);
