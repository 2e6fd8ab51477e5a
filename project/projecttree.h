#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wfilepath.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"

// Image indexes of the tree's pictures.
enum TreeImage : int { ProjectImage = 0, GroupImage = 1, FileImage = 2 };

enum class ParseLiterals { Off, On };

// The work limit: the most nodes the reader of a load may add, and the most
// nodes a walk over the expanded tree may pass (the export, the tree output,
// '*' and the count of a search in the window). Headers that all include each
// other behind include guards expand into a tree that grows exponentially,
// and a small project can name one large target file thousands of times. The
// dependency scan of a load is not bounded by it: it keeps each file's
// findings once and never expands the tree. Real projects stay far below it
// (a project of 10,000 sources expands to about 13 million nodes).
inline constexpr std::size_t kDefaultNodeLimit = 40'000'000;

// How a load ended.
struct ScanOutcome {
    // False when the load stopped at its work limit: the tree then holds what
    // was found up to that point.
    bool complete = true;
    std::size_t nodesAdded = 0;
    // One line each for a target file that could not be read and a file too
    // large to scan (listed, not scanned): the file and the reason.
    std::vector<std::string> problems = {};
    // The target files the project names, and those of them that could not
    // be read: each as the project names it, with the reason.
    struct UnreadTarget {
        std::string name;
        std::string reason;
    };
    std::size_t targetFiles = 0;
    std::vector<UnreadTarget> unreadTargets = {};
    // The source files the targets name that are no readable file, as named.
    std::vector<std::string> missingSources = {};
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
// nothing, when the project file cannot be read. Stops adding nodes when the
// tree holds nodeLimit of them; the dependency step is then not run.
//
// Item data: the project node owns a WString holding the project folder; each
// target node owns a WString holding its reference exactly as the project
// file gives it (the copy run finds target files in sub-folders through it).
bool LoadProject(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                 ParseLiterals parseLiterals, const DependencyScan& dependencyScan,
                 ScanOutcome* scanOutcome = nullptr, std::size_t nodeLimit = kDefaultNodeLimit);

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
// The same lines written to a stream, each ended by lineEnd, at most nodeLimit
// of them (lines, when given, receives how many). False when the tree holds
// more.
bool DumpTree(const WTreeStore& tree, WTreeItem node, std::ostream& out, int depth,
              std::string_view lineEnd = "\n", std::size_t nodeLimit = kDefaultNodeLimit,
              std::size_t* lines = nullptr);
