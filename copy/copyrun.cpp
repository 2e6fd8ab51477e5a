#include "copy/copyrun.h"

#include <optional>
#include <set>
#include <unordered_set>

#include "classlib/core/messagetext.h"
#include "classlib/core/wstring.h"
#include "copy/wcopy.h"
#include "project/projectfiles.h"
#include "project/projecttree.h"
#include "project/targetlabel.h"
#include "project/treewalk.h"

namespace {

void FitColumns(WListStore& results) {
    for (int column = 0; column < 3; ++column) {
        results.SetColumnWidth(column, WListStore::kFitCells);
    }
}

// Covers every file the project reads before the first write. The unlisted
// files of each target, in target order: those its dependency tree shows
// that its file list leaves out (names without an extension, and distinct
// files whose names differ only in case from a listed one).
std::vector<std::vector<std::string>> CoverProject(const WTreeStore& tree, WCopy& worker) {
    std::vector<std::vector<std::string>> unlisted;
    std::set<FileIdentity> listed;
    std::unordered_set<std::string_view> seen;
    WalkProjectFiles(
        tree, [&](std::string_view name, std::string_view folder, ProjectFileRole role) {
            if (role == ProjectFileRole::Target) {
                unlisted.emplace_back();
                listed.clear();
                seen.clear();
            }
            if (role == ProjectFileRole::Shown && !seen.insert(name).second) {
                return;
            }
            const std::optional<FileIdentity> identity = worker.CoverName(name, folder);
            if (!identity.has_value()) {
                return;
            }
            if (role == ProjectFileRole::Listed) {
                listed.insert(*identity);
            } else if (role == ProjectFileRole::Shown && listed.insert(*identity).second) {
                unlisted.back().emplace_back(name);
            }
        });
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
    const std::vector<std::vector<std::string>> unlisted = CoverProject(tree, worker);

    worker.CopyOne(TargetLabelFile(tree.Label(project)));
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
