#include "copy/copyrun.h"

#include "classlib/core/messagetext.h"
#include "classlib/core/wstring.h"
#include "copy/wcopy.h"
#include "project/projecttree.h"
#include "project/treewalk.h"

namespace {

// A later "Filelist" child wins, as the dependency scan fills the last one.
WTreeItem LastFilelistOf(const WTreeStore& tree, WTreeItem target) {
    const WString filelist = FilelistText();
    WTreeItem found = kNoItem;
    for (WTreeItem child = tree.FirstChild(target); child != kNoItem;
         child = tree.NextSibling(child)) {
        if (tree.Label(child) == filelist.View()) {
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
    const WTreeItem filelist = LastFilelistOf(tree, target);
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

void CoverProject(const WTreeStore& tree, WTreeItem project, WCopy& worker) {
    worker.CoverName(BracketedName(tree.Label(project)));
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        const std::string reference = TargetFilePath(tree, target);
        worker.CoverName(reference);
        WalkFilelist(
            tree, target,
            [&](std::string_view name) { worker.CoverName(name, FolderOfPath(reference)); }, [] {});
    }
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
    CoverProject(tree, project, worker);

    worker.CopyOne(BracketedName(tree.Label(project)));
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        worker.CopyOne(TargetFilePath(tree, target));
        CopyTargetFiles(tree, target, worker);
    }
    return {true, worker.CopiedCount(), worker.FailedCount(), worker.Reasons()};
}
