#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wfilepath.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"

// Image indexes of the tree's pictures.
enum TreeImage : int { ProjectImage = 0, GroupImage = 1, FileImage = 2 };

enum class ParseLiterals { Off, On };

// How the dependency step of a load ended.
struct ScanOutcome {
    // False when the scan stopped at its work limit: the tree then holds what
    // was found up to that point.
    bool complete = true;
    std::size_t nodesAdded = 0;
};

// The dependency step of a load: given the tree, the project folder and the
// parse-literals flag, it adds the dependency and file-list nodes.
using DependencyScan =
    std::function<ScanOutcome(WTreeStore& tree, const WString& projectFolder, ParseLiterals)>;

// Labels the dependency scan and the copy run find their nodes by.
WString DependencyFilelistText();  // "Dependency Filelist"
WString FilelistText();            // "Filelist"

// The project folder of a project path: everything up to and including the
// last '\' or '/', or empty when there is none.
WString ProjectFolderOf(std::string_view projectPath);

// Names used in labels. The file name with extension is the part of a path
// after its last '\' or '/'; the base name is that without its extension,
// which starts at the last '.' that is followed by a character other than
// '.' ("a.b.c" -> "a.b", "a." -> "a.", "a..b" -> "a.").
WString FileNameWithExtensionOf(std::string_view path);
WString BaseNameOf(std::string_view path);

// Builds the tree of the project file at projectPath into an empty tree and
// then runs the dependency step (when one is given). Returns false, adding
// nothing, when the project file cannot be read.
//
// Item data: the project node owns a WString holding the project folder; each
// target node owns a WString holding its reference exactly as the project
// file gives it (the copy run finds target files in sub-folders through it).
bool LoadProject(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                 ParseLiterals parseLiterals, const DependencyScan& dependencyScan,
                 ScanOutcome* scanOutcome = nullptr);

// The reference a target node keeps: its target file as the project file
// names it, relative to the project folder; empty when the node keeps none.
std::string_view TargetReferenceOf(const WTreeStore& tree, WTreeItem target);

// A target's folder: the project folder followed by the folder part of the
// target's reference ("bin\t.tgt" in "/p/" gives "/p/bin\"). The IDE builds
// a target from there, so its item names, its relative include folders and
// the names found in its files are relative to it. A target file beside the
// project file, or a node without a reference, gives the project folder.
WString TargetFolderOf(const WTreeStore& tree, WTreeItem target, std::string_view projectFolder);

// Appends node, its following siblings and all their descendants to text, one
// line per node, indented by one blank per level below depth. Walks without
// recursion, so any depth is safe.
void DumpTree(const WTreeStore& tree, WTreeItem node, WString& text, int depth);
// The same lines written to a stream, each ended by lineEnd.
void DumpTree(const WTreeStore& tree, WTreeItem node, std::ostream& out, int depth,
              std::string_view lineEnd = "\n");
