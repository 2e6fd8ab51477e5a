#include "depscan/dependencyview.h"

#include <algorithm>

DependencyView::DependencyView(std::unique_ptr<DependencyGraph> graph) : graph_(std::move(graph)) {}

void DependencyView::AddSource(WTreeItem item, std::uint32_t target, std::uint32_t file) {
    entries_[item] = {target, file, false, Entry::Children::Unknown};
}

std::uint32_t DependencyView::TargetOf(WTreeItem item) const {
    const auto found = targets_.find(item);
    return found == targets_.end() ? DependencyGraph::kNone : found->second;
}

bool DependencyView::SourceOf(WTreeItem item, std::uint32_t& file) const {
    const auto found = entries_.find(item);
    if (found == entries_.end()) {
        return false;
    }
    file = found->second.file;
    return true;
}

bool DependencyView::Provides(WTreeItem item) const {
    return entries_.contains(item);
}

std::vector<std::uint32_t> DependencyView::ChainOf(const WTreeStore& store, WTreeItem item) const {
    std::vector<std::uint32_t> chain;
    for (WTreeItem at = item; at != kNoItem; at = store.Parent(at)) {
        const auto found = entries_.find(at);
        if (found == entries_.end()) {
            break;
        }
        chain.push_back(found->second.file);
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

bool DependencyView::HasChildren(const WTreeStore& store, WTreeItem item) {
    const auto found = entries_.find(item);
    if (found == entries_.end()) {
        return false;
    }
    Entry& entry = found->second;
    if (entry.made) {
        return store.HasChildren(item);
    }
    if (entry.children == Entry::Children::Unknown) {
        const bool none = graph_->Walk(entry.target, ChainOf(store, item), 0,
                                       [](const DependencyNode&) { return WalkStep::Stop; });
        entry.children = none ? Entry::Children::None : Entry::Children::Some;
    }
    return entry.children == Entry::Children::Some;
}

void DependencyView::MakeChildren(WTreeStore& store, WTreeItem item) {
    const auto found = entries_.find(item);
    if (found == entries_.end() || found->second.made) {
        return;
    }
    found->second.made = true;
    const std::uint32_t target = found->second.target;
    WTreeItem last = kNoItem;
    graph_->Walk(target, ChainOf(store, item), 0, [&](const DependencyNode& node) {
        last = store.AddShared(store.InternLabel(node.label), item, FileImage, FileImage,
                               WTreePosition::After(last));
        if (node.state == DependencyState::Expanded && last != kNoItem) {
            entries_[last] = {target, node.file, false, Entry::Children::Unknown};
        }
        return WalkStep::SkipChildren;
    });
}

bool DependencyView::WalkDependencies(
    const WTreeStore& store, WTreeItem item, int itemLevel,
    const std::function<WTreeWalkStep(const DependencyNode&)>& visit) {
    const auto found = entries_.find(item);
    if (found == entries_.end()) {
        return true;
    }
    return graph_->Walk(found->second.target, ChainOf(store, item), itemLevel, visit);
}

bool DependencyView::WalkDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                                     const Visit& visit) {
    std::vector<std::uint32_t> place;
    return WalkDependencies(store, item, itemLevel, [&](const DependencyNode& node) {
        const auto relative = static_cast<std::size_t>(node.depth - itemLevel);
        if (place.size() >= relative) {
            place.resize(relative);
            ++place.back();
        } else {
            place.push_back(0);
        }
        return visit(node.depth, node.label, FileImage, place);
    });
}

DependencyView* DependencyViewOf(const WTreeStore& tree) {
    return dynamic_cast<DependencyView*>(tree.ChildSource());
}

bool WalkSourceDependencies(const WTreeStore& tree, WTreeItem source,
                            const std::function<WTreeWalkStep(const DependencyNode&)>& visit) {
    DependencyView* view = DependencyViewOf(tree);
    return view == nullptr || view->WalkDependencies(tree, source, 0, visit);
}
