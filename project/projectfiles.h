#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wtreestore.h"

// The files a project reads, as its loaded tree shows them: the project
// file, then per target its target file, the files its "Filelist" lists and
// the files its dependency tree shows (the list leaves out names without an
// extension). Nothing Tamsk writes may land on one of them.

// What a file is to the project.
enum class ProjectFileRole { Project, Target, Listed, Shown };

// Told by the tree's child source when it gives the dependency trees: the
// files below one target's "Dependency Filelist" node, in the order the tree
// shows them, passing by the subtree of a file that can show nothing new and
// a name below a source that was given before.
class DependencyFiles {
public:
    virtual ~DependencyFiles() = default;
    virtual void ForEachDependencyFile(const WTreeStore& tree, WTreeItem target,
                                       WTreeItem dependencies,
                                       const std::function<void(std::string_view name)>& visit) = 0;
};

// The files of one source's made dependency nodes, the source first: what
// no child source gives is walked as the store holds it.
void ForEachMadeSourceFile(const WTreeStore& tree, WTreeItem source,
                           const std::function<void(std::string_view name)>& visit);

// Calls visit(name, folder, role) for each file the project reads, in the
// order above. name is as the tree gives it, relative to folder, itself
// relative to the project folder (a target's folder; empty for the project
// file and the target files). A name may come more than once.
using ProjectFileVisit =
    std::function<void(std::string_view name, std::string_view folder, ProjectFileRole role)>;
void WalkProjectFiles(const WTreeStore& tree, const ProjectFileVisit& visit);

// Calls visit(name) for each file the target's "Filelist" lists, and
// afterExtension() once each extension node's children are done.
void WalkFilelist(const WTreeStore& tree, WTreeItem target,
                  const std::function<void(std::string_view name)>& visit,
                  const std::function<void()>& afterExtension = {});

// The last child of parent labelled so: a later "Filelist" child wins, as the
// dependency scan fills the last one.
WTreeItem ChildLabelled(const WTreeStore& tree, WTreeItem parent, std::string_view label);

// The path of a target's file relative to the project folder: the reference
// the target node keeps from the project file ("bin\tetris.tgt"), or the file
// of its label (TargetLabelFile) when the node keeps none.
std::string TargetFilePath(const WTreeStore& tree, WTreeItem target);

// True when path is one of the files the project reads (the same file, by
// its identity on the host). Absolute names in the tree are not counted.
bool IsReadByProject(const WTreeStore& tree, std::string_view path, HostFs& fs);

// The one refusal of a write onto a file the project reads, after its path.
inline constexpr std::string_view kReadByProjectWords =
    "is a file this project reads; left untouched";

// "<path>: is a file this project reads; left untouched".
std::string ReadByProjectRefusal(std::string_view path);
