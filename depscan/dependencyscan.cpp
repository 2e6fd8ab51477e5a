#include "depscan/dependencyscan.h"

#include <limits>
#include <optional>

#include "depscan/dependencyview.h"
#include "depscan/filelist.h"
#include "depscan/normalizepath.h"
#include "depscan/opengroups.h"
#include "project/treewalk.h"

namespace {

// The nodes of one target that the scan starts from.
struct TargetNodes {
    WTreeItem sources = kNoItem;
    WTreeItem filelist = kNoItem;
};

TargetNodes NodesOf(const WTreeStore& tree, WTreeItem target) {
    const WString dependencyFilelistText = DependencyFilelistText();
    const WString filelistText = FilelistText();
    TargetNodes nodes;
    for (WTreeItem child = tree.FirstChild(target); child != kNoItem;
         child = tree.NextSibling(child)) {
        if (tree.Label(child) == dependencyFilelistText.View()) {
            nodes.sources = child;
        } else if (tree.Label(child) == filelistText.View()) {
            nodes.filelist = child;
        }
    }
    return nodes;
}

// Fills a target's file list with every file the walk of its sources meets,
// in the order the walk meets them (the first spelling of a file stays),
// without walking the whole expanded tree: the subtree of a file met before
// holds no file that was not met then, unless a name below it is searched
// through the chain. (A file met again stands either below the first place,
// where the chain cut it, or after that place's subtree, which met every
// file the file reaches past the chain it shares with the new place.)
class FileListWalk {
public:
    FileListWalk(DependencyGraph& graph, std::uint32_t target, FileList& fileList,
                 std::size_t nodeLimit)
        : graph_(graph),
          target_(target),
          fileList_(fileList),
          met_(graph.FileCount(target), false),
          nodeLimit_(nodeLimit) {}

    // False when the walk passed the work limit.
    bool AddSource(std::uint32_t file) {
        if (!graph_.IsListed(target_, file)) {
            return true;
        }
        fileList_.AddToFilelist(graph_.Label(target_, file));
        if (!graph_.IsExpandable(target_, file) || Seen(file)) {
            return true;
        }
        return graph_.Walk(target_, {file}, 0, [&](const DependencyNode& node) {
            if (++walked_ > nodeLimit_) {
                return WalkStep::Stop;
            }
            if (node.state == DependencyState::Unreadable || node.state == DependencyState::Cycle) {
                return WalkStep::Continue;
            }
            AddOnce(node);
            if (node.state == DependencyState::Expanded && Seen(node.file)) {
                return WalkStep::SkipChildren;
            }
            return WalkStep::Continue;
        });
    }

private:
    // A label added before adds nothing again.
    void AddOnce(const DependencyNode& node) {
        if (added_.FirstTime(node.labelId)) {
            fileList_.AddToFilelist(node.label);
        }
    }

    // Whether file was met before, marking it met; a file below which a name
    // is searched through the chain is never passed by.
    bool Seen(std::uint32_t file) {
        if (graph_.DependsOnChain(target_, file)) {
            return false;
        }
        const bool seen = met_[file];
        met_[file] = true;
        return seen;
    }

    DependencyGraph& graph_;
    std::uint32_t target_;
    FileList& fileList_;
    std::vector<bool> met_;
    LabelsMet added_;
    std::size_t walked_ = 0;
    std::size_t nodeLimit_;
};

}  // namespace

ScanOutcome BuildDependencies(WTreeStore& tree, const WString& projectFolder, HostFs& fs,
                              const ScanOptions& options) {
    auto view = std::make_unique<DependencyView>(
        std::make_unique<DependencyGraph>(fs, options, projectFolder.View()));
    DependencyGraph* graph = &view->Graph();
    ScanOutcome outcome;
    const WTreeItem project = tree.FirstRoot();
    for (WTreeItem target = tree.FirstChild(project); project != kNoItem && target != kNoItem;
         target = tree.NextSibling(target)) {
        const TargetNodes nodes = NodesOf(tree, target);
        if (nodes.sources == kNoItem) {
            continue;
        }
        WString list;
        if (tree.HasChildren(nodes.sources)) {
            IncludeDirectories(tree, tree.FirstChild(nodes.sources), list, options.compilerFolder);
        }
        const WString folder = TargetFolderOf(tree, target, projectFolder.View());
        const std::uint32_t index = graph->AddTarget(folder.View(), list.View());
        view->AddTarget(target, index);
        // Every source is asked for first, so that the reading runs ahead of the survey.
        std::vector<std::uint32_t> files;
        std::vector<std::string> paths;
        for (WTreeItem source = tree.FirstChild(nodes.sources); source != kNoItem;
             source = tree.NextSibling(source)) {
            std::string& path = paths.emplace_back(tree.Label(source));
            NormalizePathText(path, folder.View());
            files.push_back(graph->SourceFile(index, path));
        }
        graph->Survey(index);
        std::size_t at = 0;
        for (WTreeItem source = tree.FirstChild(nodes.sources); source != kNoItem;
             source = tree.NextSibling(source), ++at) {
            if (!graph->IsListed(index, files[at])) {
                outcome.missingSources.emplace_back(tree.Label(source));
                if (options.notes != nullptr &&
                    fs.Kind(PathInFolder(folder.View(), paths[at])) != HostEntry::File) {
                    options.notes->missingSources.insert(source);
                }
            }
            if (graph->IsExpandable(index, files[at])) {
                view->AddSource(source, index, files[at]);
            }
        }
        if (nodes.filelist == kNoItem) {
            continue;
        }
        FileList fileList(tree, nodes.filelist);
        FileListWalk walk(*graph, index, fileList, options.nodeLimit);
        for (const std::uint32_t file : files) {
            if (!walk.AddSource(file)) {
                outcome.complete = false;
                break;
            }
        }
    }
    graph->EndOfLoad();
    outcome.problems = std::move(graph->Problems());
    tree.SetChildSource(std::move(view));
    return outcome;
}

namespace {

// Counts the nodes below one source. A file's subtree is the same wherever
// no file of its cycle group stands on the chain above it and no name below
// it is searched through the chain: then its count is kept and reused.
class NodeCount {
public:
    NodeCount(DependencyGraph& graph, std::uint32_t target, std::size_t& walked,
              std::size_t nodeLimit)
        : graph_(graph),
          target_(target),
          counts_(graph.FileCount(target), kUnknown),
          groups_(graph, target, {}),
          walked_(walked),
          nodeLimit_(nodeLimit) {}

    // The nodes below the source file; nullopt when counting passed the limit.
    std::optional<std::size_t> Below(std::uint32_t file) {
        if (const std::optional<std::size_t> known = Known(file)) {
            return known;
        }
        total_ = 0;
        Enter(file);
        const bool done = graph_.Walk(
            target_, {file}, 0,
            [&](const DependencyNode& node) {
                ++total_;
                if (++walked_ > nodeLimit_) {
                    return WalkStep::Stop;
                }
                if (node.state != DependencyState::Expanded) {
                    return WalkStep::Continue;
                }
                if (const std::optional<std::size_t> known = Known(node.file)) {
                    total_ += *known;
                    return WalkStep::SkipChildren;
                }
                Enter(node.file);
                return WalkStep::Continue;
            },
            [&](const DependencyNode&) { Leave(); });
        if (!done) {
            open_.clear();
            groups_.Clear();
            return std::nullopt;
        }
        Leave();
        return total_;
    }

private:
    static constexpr std::size_t kUnknown = std::numeric_limits<std::size_t>::max();
    struct Open {
        std::uint32_t file;
        std::uint32_t group;
        std::size_t start;
        bool keep;
    };

    std::optional<std::size_t> Known(std::uint32_t file) const {
        if (file < counts_.size() && counts_[file] != kUnknown && groups_.RecursAlike(file)) {
            return counts_[file];
        }
        return std::nullopt;
    }

    void Enter(std::uint32_t file) {
        const bool keep = groups_.RecursAlike(file) && file < counts_.size();
        open_.push_back({file, groups_.Enter(file), total_, keep});
    }

    void Leave() {
        const Open done = open_.back();
        open_.pop_back();
        groups_.Leave(done.group);
        if (done.keep) {
            counts_[done.file] = total_ - done.start;
        }
    }

    DependencyGraph& graph_;
    std::uint32_t target_;
    std::vector<std::size_t> counts_;
    OpenGroups groups_;
    std::vector<Open> open_;
    std::size_t total_ = 0;
    std::size_t& walked_;
    std::size_t nodeLimit_;
};

}  // namespace

namespace {

// The nodes of the store below item (item not included) that are not
// dependency nodes; each source node whose dependency nodes come from the view
// is given to source.
template <typename Source>
std::size_t CountStoreNodes(const WTreeStore& tree, WTreeItem item, Source&& source) {
    const WTreeChildSource* view = tree.ChildSource();
    std::size_t count = 0;
    std::vector<WTreeItem> pending;
    for (WTreeItem child = tree.FirstChild(item); child != kNoItem;
         child = tree.NextSibling(child)) {
        pending.push_back(child);
    }
    while (!pending.empty()) {
        const WTreeItem at = pending.back();
        pending.pop_back();
        ++count;
        if (view != nullptr && view->Provides(at)) {
            source(at);
            continue;
        }
        for (WTreeItem child = tree.FirstChild(at); child != kNoItem;
             child = tree.NextSibling(child)) {
            pending.push_back(child);
        }
    }
    return count;
}

}  // namespace

DependencyStats CountDependencies(const WTreeStore& tree, std::size_t nodeLimit) {
    DependencyStats stats;
    const WTreeItem project = tree.FirstRoot();
    if (project == kNoItem) {
        return stats;
    }
    DependencyView* view = DependencyViewOf(tree);
    std::unordered_map<std::uint32_t, NodeCount> counters;
    std::size_t walked = 0;
    stats.expandedNodes = 1;
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        DependencyStats::Target counts;
        counts.label = tree.Label(target);
        const TargetNodes nodes = NodesOf(tree, target);
        for (WTreeItem source = tree.FirstChild(nodes.sources); source != kNoItem;
             source = tree.NextSibling(source)) {
            ++counts.sources;
        }
        const std::uint32_t graphTarget =
            view != nullptr ? view->TargetOf(target) : DependencyGraph::kNone;
        const std::size_t storeNodes = CountStoreNodes(tree, target, [&](WTreeItem source) {
            std::uint32_t file = 0;
            if (!stats.complete || !view->SourceOf(source, file)) {
                return;
            }
            auto counter =
                counters.try_emplace(graphTarget, view->Graph(), graphTarget, walked, nodeLimit);
            const std::optional<std::size_t> below = counter.first->second.Below(file);
            stats.complete = below.has_value();
            counts.expandedNodes += below.value_or(0);
        });
        counts.expandedNodes += 1 + storeNodes;
        if (graphTarget != DependencyGraph::kNone) {
            DependencyGraph& graph = view->Graph();
            counts.uniqueFiles = graph.UniqueFiles(graphTarget);
            counts.includeEdges = graph.IncludeEdges(graphTarget);
            counts.filesNotFound = graph.FilesNotFound(graphTarget);
        }
        stats.expandedNodes += counts.expandedNodes;
        stats.targets.push_back(std::move(counts));
    }
    if (view != nullptr) {
        stats.uniqueFiles = view->Graph().UniqueFiles();
    }
    return stats;
}
