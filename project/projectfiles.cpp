#include "project/projectfiles.h"

#include <set>

#include "classlib/core/pathrules.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreewalk.h"
#include "project/projecttree.h"
#include "project/targetlabel.h"

void ForEachMadeSourceFile(const WTreeStore& tree, WTreeItem source,
                           const std::function<void(std::string_view)>& visit) {
    visit(tree.Label(source));
    WalkTree(tree, tree.FirstChild(source), 1, [&](int, std::string_view name) { visit(name); });
}

namespace {

// The files below the dependency node from the made nodes alone: a tree not
// made by a load.
void ForEachMadeDependencyFile(const WTreeStore& tree, WTreeItem dependencies,
                               const std::function<void(std::string_view)>& visit) {
    for (WTreeItem source = tree.FirstChild(dependencies); source != kNoItem;
         source = tree.NextSibling(source)) {
        ForEachMadeSourceFile(tree, source, visit);
    }
}

void WalkTargetFiles(const WTreeStore& tree, WTreeItem target, const ProjectFileVisit& visit) {
    const std::string reference = TargetFilePath(tree, target);
    const std::string_view folder = FolderOfPath(reference);
    visit(reference, {}, ProjectFileRole::Target);
    WalkFilelist(tree, target,
                 [&](std::string_view name) { visit(name, folder, ProjectFileRole::Listed); });
    const WTreeItem dependencies = ChildLabelled(tree, target, DependencyFilelistText().View());
    if (dependencies == kNoItem) {
        return;
    }
    const auto shown = [&](std::string_view name) { visit(name, folder, ProjectFileRole::Shown); };
    if (auto* files = dynamic_cast<DependencyFiles*>(tree.ChildSource()); files != nullptr) {
        files->ForEachDependencyFile(tree, target, dependencies, shown);
    } else {
        ForEachMadeDependencyFile(tree, dependencies, shown);
    }
}

}  // namespace

WTreeItem ChildLabelled(const WTreeStore& tree, WTreeItem parent, std::string_view label) {
    WTreeItem found = kNoItem;
    for (WTreeItem child = tree.FirstChild(parent); child != kNoItem;
         child = tree.NextSibling(child)) {
        if (tree.Label(child) == label) {
            found = child;
        }
    }
    return found;
}

void WalkFilelist(const WTreeStore& tree, WTreeItem target,
                  const std::function<void(std::string_view)>& visit,
                  const std::function<void()>& afterExtension) {
    const WTreeItem filelist = ChildLabelled(tree, target, FilelistText().View());
    if (filelist == kNoItem) {
        return;
    }
    for (WTreeItem extension = tree.FirstChild(filelist); extension != kNoItem;
         extension = tree.NextSibling(extension)) {
        for (WTreeItem file = tree.FirstChild(extension); file != kNoItem;
             file = tree.NextSibling(file)) {
            visit(tree.Label(file));
        }
        if (afterExtension) {
            afterExtension();
        }
    }
}

std::string TargetFilePath(const WTreeStore& tree, WTreeItem target) {
    const std::string_view reference = TargetReferenceOf(tree, target);
    if (!reference.empty()) {
        return std::string(reference);
    }
    return std::string(TargetLabelFile(tree.Label(target)));
}

void WalkProjectFiles(const WTreeStore& tree, const ProjectFileVisit& visit) {
    const WTreeItem project = tree.FirstRoot();
    if (project == kNoItem) {
        return;
    }
    visit(TargetLabelFile(tree.Label(project)), {}, ProjectFileRole::Project);
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        WalkTargetFiles(tree, target, visit);
    }
}

bool IsReadByProject(const WTreeStore& tree, std::string_view path, HostFs& fs) {
    const WTreeItem project = tree.FirstRoot();
    const auto* projectFolder =
        project == kNoItem ? nullptr : dynamic_cast<const WString*>(tree.GetData(project));
    FileIdentity written;
    if (projectFolder == nullptr || !fs.Identify(std::string(path), written).ok()) {
        return false;
    }
    const std::string base = PathInFolder(HostFs::CurrentFolder(), projectFolder->View());
    bool read = false;
    std::set<std::string> looked;
    WalkProjectFiles(tree, [&](std::string_view name, std::string_view folder, ProjectFileRole) {
        if (read || IsAbsolutePath(name)) {
            return;
        }
        const std::string source =
            fs.Resolve(LexicallyFolded(JoinPath(base, JoinPath(folder, name))));
        FileIdentity identity;
        read = looked.insert(source).second && fs.Kind(source) == HostEntry::File &&
               fs.Identify(source, identity).ok() && identity == written;
    });
    return read;
}

std::string ReadByProjectRefusal(std::string_view path) {
    std::string refusal(path);
    refusal.append(": ").append(kReadByProjectWords);
    return refusal;
}
