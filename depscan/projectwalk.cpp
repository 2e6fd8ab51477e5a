#include "depscan/projectwalk.h"

#include <algorithm>
#include <unordered_map>

#include "depscan/dependencyview.h"
#include "depscan/includeresolution.h"
#include "project/projecttree.h"
#include "project/targetlabel.h"

namespace {

constexpr std::string_view kTargetPrefix = "Target: ";
constexpr std::string_view kTargetNamePrefix = "Target Name: ";
constexpr std::string_view kDefaultsPrefix = "Default Include directories: ";
constexpr std::string_view kDebugGroup = "Debug Switches";
constexpr std::string_view kReleaseGroup = "Release Switches";

std::string_view After(std::string_view label, std::string_view prefix) {
    return label.starts_with(prefix) ? label.substr(prefix.size()) : std::string_view();
}

// "Target: <name>  <description> [<file>]" once the image type was read.
std::optional<std::string_view> ImageTypeOf(std::string_view label, std::string_view name) {
    std::string_view rest = After(label, kTargetPrefix);
    if (!rest.starts_with(name) || !rest.substr(name.size()).starts_with("  ")) {
        return std::nullopt;
    }
    rest.remove_prefix(name.size() + 2);
    return TargetLabelText(rest);
}

// "(WCC) Include directories: x" -> WCC, "Include directories: x".
SwitchFacts SwitchOf(std::string_view group, std::string_view label) {
    const std::size_t close = label.find(") ");
    if (!label.starts_with('(') || close == std::string_view::npos) {
        return {group, {}, label};
    }
    return {group, label.substr(1, close - 1), label.substr(close + 2)};
}

TargetFacts FactsOf(const LoadedProject& project, WTreeItem target, WTreeItem& sources,
                    WTreeItem& filelist) {
    const WTreeStore& tree = project.tree;
    TargetFacts facts;
    facts.item = target;
    facts.reference = TargetReferenceOf(tree, target);
    facts.name = BaseNameOf(facts.reference).Str();
    facts.imageType = ImageTypeOf(tree.Label(target), facts.name);
    facts.folder = TargetFolderOf(tree, target, ProjectFolder(project)).Str();
    const WString dependencyFilelist = DependencyFilelistText();
    const WString filelistText = FilelistText();
    sources = kNoItem;
    filelist = kNoItem;
    for (WTreeItem child = tree.FirstChild(target); child != kNoItem;
         child = tree.NextSibling(child)) {
        const std::string_view label = tree.Label(child);
        if (label.starts_with(kTargetNamePrefix)) {
            facts.targetName = After(label, kTargetNamePrefix);
        } else if (label.starts_with(kDefaultsPrefix)) {
            facts.defaultIncludeDirectories = After(label, kDefaultsPrefix);
        } else if (label == kDebugGroup || label == kReleaseGroup) {
            const std::string_view group = label.substr(0, label.find(' '));
            for (WTreeItem line = tree.FirstChild(child); line != kNoItem;
                 line = tree.NextSibling(line)) {
                facts.switches.push_back(SwitchOf(group, tree.Label(line)));
            }
        } else if (label == dependencyFilelist.View()) {
            sources = child;  // the last one counts, as for the scan
        } else if (label == filelistText.View()) {
            filelist = child;
        }
    }
    WString list;
    if (sources != kNoItem && tree.HasChildren(sources) &&
        IncludeDirectories(tree, tree.FirstChild(sources), list, project.notes.compilerFolder)) {
        facts.includeDirectories = IncludeDirectoryPieces(list.View());
    }
    return facts;
}

// Dense ids of the labels one walk meets: the labels of the store and of the
// dependency view's nodes, each text one id.
class LabelIds {
public:
    WTreeLabel Of(std::string_view label) {
        return ids_.try_emplace(label, static_cast<WTreeLabel>(ids_.size())).first->second;
    }
    // A dependency node's: looked up by the graph's id, the text hashed once.
    WTreeLabel Of(const DependencyNode& node) {
        if (node.labelId >= byGraphLabel_.size()) {
            byGraphLabel_.resize(node.labelId + 1, kUnknown);
        }
        WTreeLabel& id = byGraphLabel_[node.labelId];
        if (id == kUnknown) {
            id = Of(node.label);
        }
        return id;
    }

private:
    static constexpr WTreeLabel kUnknown = 0xFFFFFFFFu;
    std::unordered_map<std::string_view, WTreeLabel> ids_;
    std::vector<WTreeLabel> byGraphLabel_;
};

// The include cycles of the expanded files open above the node a walk is at:
// below a file whose cycle is open above it, the cut falls where the chain
// entered the cycle, so its files differ from place to place.
class OpenCycles {
public:
    // The node at depth is next: the files at depth and deeper are closed.
    void MoveTo(int depth) {
        while (!open_.empty() && open_.back().depth >= depth) {
            open_.pop_back();
        }
    }
    bool IsOpen(std::uint32_t group) const {
        return group != DependencyGraph::kNone &&
               std::ranges::any_of(open_, [group](const Open& o) { return o.group == group; });
    }
    void Enter(int depth, std::uint32_t group) {
        if (group != DependencyGraph::kNone) {
            open_.push_back({depth, group});
        }
    }

private:
    struct Open {
        int depth;
        std::uint32_t group;
    };
    std::vector<Open> open_;  // only files in a cycle, so few
};

// False when the walk passed the work limit (walked counts the files visited).
bool VisitSources(const LoadedProject& project, const TargetFacts& target, WTreeItem sources,
                  ProjectVisitor& visitor, LabelIds& ids, MissingNames& missing,
                  std::size_t& walked) {
    const WTreeStore& tree = project.tree;
    DependencyView* view = DependencyViewOf(tree);
    DependencyGraph* graph = view != nullptr ? &view->Graph() : nullptr;
    const std::uint32_t graphTarget =
        view != nullptr ? view->TargetOf(target.item) : DependencyGraph::kNone;
    for (WTreeItem source = tree.FirstChild(sources); source != kNoItem;
         source = tree.NextSibling(source)) {
        if (++walked > project.nodeLimit) {
            return false;
        }
        const std::string_view label = tree.Label(source);
        visitor.File({0, label, ids.Of(label), false});
        if (project.notes.missingSources.contains(source)) {
            missing.Add(target.item, target.reference, label);
        }
        if (!visitor.WantsDependencies()) {
            continue;
        }
        OpenCycles cycles;
        if (std::uint32_t file = 0; view != nullptr && view->SourceOf(source, file)) {
            cycles.Enter(0, graph->GroupOf(graphTarget, file));
        }
        const bool whole = WalkSourceDependencies(
            tree, source,
            [&](const DependencyNode& node) {
                if (++walked > project.nodeLimit) {
                    return WTreeWalkStep::Stop;
                }
                FileVisit visit{node.depth, node.label, ids.Of(node),
                                node.state == DependencyState::Cycle};
                visit.expanded = node.state == DependencyState::Expanded;
                cycles.MoveTo(node.depth);
                std::uint32_t group = DependencyGraph::kNone;
                if (visit.expanded) {
                    visit.file = node.file;
                    group = graph->GroupOf(graphTarget, node.file);
                    visit.sameEverywhere = !graph->DependsOnChain(graphTarget, node.file);
                    visit.sameTreeEverywhere = visit.sameEverywhere && !cycles.IsOpen(group);
                }
                visitor.File(visit);
                if (!visit.expanded) {
                    return WTreeWalkStep::Continue;
                }
                if (visit.sameTreeEverywhere) {
                    const std::size_t copied = visitor.CopyBelow(visit, project.nodeLimit - walked);
                    if (copied > 0) {
                        walked += copied;
                        return WTreeWalkStep::SkipChildren;
                    }
                }
                if (visitor.PassBelow(visit)) {
                    return WTreeWalkStep::SkipChildren;
                }
                cycles.Enter(node.depth, group);
                return WTreeWalkStep::Continue;
            },
            [&](std::string_view namingFile, std::string_view name) {
                missing.Add(target.item, namingFile, name);
            });
        if (!whole) {
            return false;
        }
    }
    return true;
}

void VisitFilelist(const WTreeStore& tree, WTreeItem filelist, ProjectVisitor& visitor) {
    for (WTreeItem extension = tree.FirstChild(filelist); extension != kNoItem;
         extension = tree.NextSibling(extension)) {
        for (WTreeItem path = tree.FirstChild(extension); path != kNoItem;
             path = tree.NextSibling(path)) {
            visitor.ListedFile(tree.Label(extension), tree.Label(path));
        }
    }
}

}  // namespace

std::string_view ProjectFileName(const LoadedProject& project) {
    const WTreeItem root = project.tree.FirstRoot();
    if (root == kNoItem) {
        return {};
    }
    return TargetLabelFile(project.tree.Label(root));
}

std::string_view ProjectFolder(const LoadedProject& project) {
    const WTreeItem root = project.tree.FirstRoot();
    const auto* folder =
        root == kNoItem ? nullptr : dynamic_cast<const WString*>(project.tree.GetData(root));
    return folder != nullptr ? folder->View() : std::string_view();
}

bool WalkProject(const LoadedProject& project, ProjectVisitor& visitor) {
    const WTreeStore& tree = project.tree;
    const WTreeItem root = tree.FirstRoot();
    if (root == kNoItem) {
        return true;
    }
    LabelIds ids;
    std::size_t walked = 0;
    for (WTreeItem target = tree.FirstChild(root); target != kNoItem;
         target = tree.NextSibling(target)) {
        WTreeItem sources = kNoItem;
        WTreeItem filelist = kNoItem;
        const TargetFacts facts = FactsOf(project, target, sources, filelist);
        visitor.BeginTarget(facts);
        MissingNames missing;
        if (sources != kNoItem &&
            !VisitSources(project, facts, sources, visitor, ids, missing, walked)) {
            project.walkStopped = true;
            visitor.EndTarget(facts);
            return false;
        }
        if (filelist != kNoItem) {
            VisitFilelist(tree, filelist, visitor);
        }
        for (const MissingName& name : missing.Names()) {
            visitor.Missing(name);
        }
        visitor.EndTarget(facts);
    }
    return true;
}
