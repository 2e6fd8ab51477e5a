#include "copy/copyrun.h"

#include <optional>
#include <set>
#include <unordered_set>

#include "classlib/core/messagetext.h"
#include "classlib/core/wstring.h"
#include "copy/wcopy.h"
#include "depscan/dependencyview.h"
#include "project/projecttree.h"
#include "project/treewalk.h"

namespace {

// The last child labelled so: a later "Filelist" child wins, as the
// dependency scan fills the last one.
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

// Calls visit(name) for each file path node of the target, and
// afterExtension() once each extension node's children are done.
template <typename Visit, typename AfterExtension>
void WalkFilelist(const WTreeStore& tree, WTreeItem target, Visit visit,
                  AfterExtension afterExtension) {
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
        afterExtension();
    }
}

void FitColumns(WListStore& results) {
    for (int column = 0; column < 3; ++column) {
        results.SetColumnWidth(column, WListStore::kFitCells);
    }
}

// The files the target's tree shows below "Dependency Filelist" (its sources
// and every file they depend on) that its file list leaves out: names
// without an extension, and distinct files whose names differ only in case
// from a listed one. Each is covered, in the order the tree shows them. The
// subtree of a file expanded before is passed by unless a name below it is
// searched through the chain: it shows no file that was not met then.
std::vector<std::string> CoverUnlistedFiles(const WTreeStore& tree, WTreeItem target,
                                            std::string_view folder, WCopy& worker,
                                            std::set<FileIdentity> listed) {
    std::vector<std::string> unlisted;
    const WTreeItem dependencies = ChildLabelled(tree, target, DependencyFilelistText().View());
    if (dependencies == kNoItem) {
        return unlisted;
    }
    std::unordered_set<std::string_view> seen;
    const auto cover = [&](std::string_view name) {
        if (!seen.insert(name).second) {
            return;
        }
        const std::optional<FileIdentity> identity = worker.CoverName(name, folder);
        if (identity.has_value() && listed.insert(*identity).second) {
            unlisted.emplace_back(name);
        }
    };
    DependencyView* view = DependencyViewOf(tree);
    const std::uint32_t graphTarget =
        view != nullptr ? view->TargetOf(target) : DependencyGraph::kNone;
    std::unordered_set<std::uint32_t> expanded;
    const auto firstExpansion = [&](std::uint32_t file) {
        return view->Graph().DependsOnChain(graphTarget, file) || expanded.insert(file).second;
    };
    for (WTreeItem source = tree.FirstChild(dependencies); source != kNoItem;
         source = tree.NextSibling(source)) {
        cover(tree.Label(source));
        std::uint32_t file = 0;
        if (view == nullptr || !view->SourceOf(source, file)) {
            // Nodes the store holds itself (a tree not made by a load).
            WalkTree(tree, tree.FirstChild(source), 1,
                     [&](int, std::string_view name) { cover(name); });
            continue;
        }
        if (!firstExpansion(file)) {
            continue;
        }
        WalkSourceDependencies(tree, source, [&](const DependencyNode& node) {
            cover(node.label);
            if (node.state == DependencyState::Expanded && !firstExpansion(node.file)) {
                return WTreeWalkStep::SkipChildren;
            }
            return WTreeWalkStep::Continue;
        });
    }
    return unlisted;
}

// Covers every file of the project before the first write; the unlisted
// files of each target, in target order.
std::vector<std::vector<std::string>> CoverProject(const WTreeStore& tree, WTreeItem project,
                                                   WCopy& worker) {
    std::vector<std::vector<std::string>> unlisted;
    worker.CoverName(BracketedName(tree.Label(project)));
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        const std::string reference = TargetFilePath(tree, target);
        const std::string_view folder = FolderOfPath(reference);
        worker.CoverName(reference);
        std::set<FileIdentity> listed;
        WalkFilelist(
            tree, target,
            [&](std::string_view name) {
                if (const auto identity = worker.CoverName(name, folder)) {
                    listed.insert(*identity);
                }
            },
            [] {});
        unlisted.push_back(CoverUnlistedFiles(tree, target, folder, worker, std::move(listed)));
    }
    return unlisted;
}

}  // namespace

std::string CopyRunSummaryText(const CopyRunSummary& summary) {
    if (!summary.ran) {
        return "Nothing copied: no project is loaded.";
    }
    std::string text = GroupedCount(static_cast<std::size_t>(summary.copied)) + " copied, " +
                       GroupedCount(static_cast<std::size_t>(summary.failed)) + " failed";
    if (!summary.reasons.empty()) {
        text += "; first: ";
        AppendAsLine(text, summary.reasons.front());
    }
    return text;
}

bool IsReadByProject(const WTreeStore& tree, std::string_view path, HostFs& fs) {
    // A file that is not there yet is none the project reads, and looking
    // costs one lookup instead of one per file of the project.
    if (fs.Kind(path) == HostEntry::Missing) {
        return false;
    }
    const WTreeItem project = tree.FirstRoot();
    const auto* projectFolder =
        project == kNoItem ? nullptr : dynamic_cast<const WString*>(tree.GetData(project));
    if (projectFolder == nullptr) {
        return false;
    }
    WListStore noRows;
    WCopy worker(noRows, {}, projectFolder->View(), fs);
    CoverProject(tree, project, worker);
    return worker.IsReadByThisCopy(std::string(path));
}

std::string_view BracketedName(std::string_view label) {
    const std::size_t open = label.find_last_of('[');
    const std::size_t close = label.find_last_of(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return label;
    }
    return label.substr(open + 1, close - open - 1);
}

std::string TargetFilePath(const WTreeStore& tree, WTreeItem target) {
    const std::string_view reference = TargetReferenceOf(tree, target);
    if (!reference.empty()) {
        return std::string(reference);
    }
    return std::string(BracketedName(tree.Label(target)));
}

void CopyTargetFiles(const WTreeStore& tree, WTreeItem target, WCopy& worker) {
    const std::string folder(FolderOfPath(TargetFilePath(tree, target)));
    WalkFilelist(
        tree, target, [&](std::string_view name) { worker.CopyOne(name, folder); },
        [&] { FitColumns(worker.Results()); });
}

CopyRunSummary RunProjectCopy(const WTreeStore& tree, std::string_view destination,
                              WListStore& results, HostFs& fs, FolderCellSeparators separators) {
    const WTreeItem project = tree.FirstRoot();
    if (project == kNoItem) {
        return {};
    }
    const auto* projectFolder = dynamic_cast<const WString*>(tree.GetData(project));
    if (projectFolder == nullptr) {
        return {};
    }
    WCopy worker(results, destination, projectFolder->View(), fs, separators);
    const std::vector<std::vector<std::string>> unlisted = CoverProject(tree, project, worker);

    worker.CopyOne(BracketedName(tree.Label(project)));
    std::size_t index = 0;
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target), ++index) {
        const std::string reference = TargetFilePath(tree, target);
        worker.CopyOne(reference);
        CopyTargetFiles(tree, target, worker);
        if (!unlisted[index].empty()) {
            for (const std::string& name : unlisted[index]) {
                worker.CopyOne(name, FolderOfPath(reference));
            }
            FitColumns(worker.Results());
        }
    }
    return {true, worker.CopiedCount(), worker.FailedCount(), worker.Reasons()};
}
