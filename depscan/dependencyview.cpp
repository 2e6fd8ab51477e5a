#include "depscan/dependencyview.h"

#include <algorithm>
#include <unordered_set>

#include "classlib/core/wtreelines.h"
#include "classlib/core/wtreesearch.h"
#include "depscan/opengroups.h"
#include "project/treewalk.h"

DependencyView::DependencyView(std::unique_ptr<DependencyGraph> graph) : graph_(std::move(graph)) {}

namespace {

template <typename Entry>
Entry* Present(Entry* slot) {
    return slot != nullptr && slot->present ? slot : nullptr;
}

// Moves place (see WTreeChildSource::Visit) to the next node of a pre-order
// walk, which stands relativeDepth levels below the walk's item.
void StepPlace(std::vector<std::uint32_t>& place, int relativeDepth) {
    const auto depth = static_cast<std::size_t>(relativeDepth);
    if (place.size() >= depth) {
        place.resize(depth);
        ++place.back();
    } else {
        place.push_back(0);
    }
}

}  // namespace

void DependencyView::AddSource(WTreeItem item, std::uint32_t target, std::uint32_t file) {
    entries_.At(item) = {target, file, false, Entry::Children::Unknown, true};
}

std::uint32_t DependencyView::TargetOf(WTreeItem item) const {
    const auto found = targets_.find(item);
    return found == targets_.end() ? DependencyGraph::kNone : found->second;
}

bool DependencyView::SourceOf(WTreeItem item, std::uint32_t& file) const {
    Entry* found = Present(entries_.Find(item));
    if (found == nullptr) {
        return false;
    }
    file = found->file;
    return true;
}

bool DependencyView::Provides(WTreeItem item) const {
    return Present(entries_.Find(item)) != nullptr;
}

std::vector<std::uint32_t> DependencyView::ChainOf(const WTreeStore& store, WTreeItem item) const {
    std::vector<std::uint32_t> chain;
    for (WTreeItem at = item; at != kNoItem; at = store.Parent(at)) {
        const Entry* found = Present(entries_.Find(at));
        if (found == nullptr) {
            break;
        }
        chain.push_back(found->file);
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

bool DependencyView::HasChildren(const WTreeStore& store, WTreeItem item) {
    Entry* found = Present(entries_.Find(item));
    if (found == nullptr) {
        return false;
    }
    Entry& entry = *found;
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
    Entry* found = Present(entries_.Find(item));
    if (found == nullptr || found->made) {
        return;
    }
    found->made = true;
    const std::uint32_t target = found->target;
    WTreeItem last = kNoItem;
    graph_->Walk(target, ChainOf(store, item), 0, [&](const DependencyNode& node) {
        last = store.AddShared(store.InternLabel(node.label), item, FileImage, FileImage,
                               WTreePosition::After(last));
        if (node.state == DependencyState::Expanded && last != kNoItem) {
            entries_.At(last) = {target, node.file, false, Entry::Children::Unknown, true};
        }
        return WalkStep::SkipChildren;
    });
}

bool DependencyView::WalkDependencies(
    const WTreeStore& store, WTreeItem item, int itemLevel,
    const std::function<WTreeWalkStep(const DependencyNode&)>& visit, const MissedName& miss) {
    Entry* found = Present(entries_.Find(item));
    if (found == nullptr) {
        return true;
    }
    return graph_->Walk(
        found->target, ChainOf(store, item), itemLevel, visit, [](const DependencyNode&) {},
        [&miss](std::string_view namingFile, std::string_view name) {
            if (miss) {
                miss(namingFile, name);
            }
        });
}

bool DependencyView::WalkDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                                     const Visit& visit) {
    std::vector<std::uint32_t> place;
    return WalkDependencies(store, item, itemLevel, [&](const DependencyNode& node) {
        StepPlace(place, node.depth - itemLevel);
        return visit(node.depth, node.label, FileImage, place);
    });
}

namespace {

constexpr std::size_t kKeptTextBudget = 24u << 20;
constexpr std::size_t kOpenTextLimit = 8u << 20;

}  // namespace

std::size_t DependencyView::WriteDescendantLines(const WTreeStore& store, WTreeItem item,
                                                 int itemLevel, WTreeLineWriter& lines,
                                                 std::size_t room, bool& complete) {
    const Entry* found = Present(entries_.Find(item));
    complete = true;
    if (found == nullptr) {
        return 0;
    }
    const std::uint32_t target = found->target;
    if (target != keptTarget_) {
        // Walks go target by target: the text of another target's files will not recur soon.
        keptText_.clear();
        keptBytes_ = 0;
        keptTarget_ = target;
    }
    // A subtree being written whose text may be kept: where it starts.
    struct Open {
        std::uint32_t group;
        std::size_t start;
        std::size_t lines;
        std::uint64_t key;
        bool keep;
    };
    std::vector<Open> open;
    std::size_t keeping = 0;  // the open subtrees whose text is to be kept
    const auto keyOf = [&](std::uint32_t file, int level) {
        return (static_cast<std::uint64_t>(target) << 44) ^
               (static_cast<std::uint64_t>(file) << 12) ^ static_cast<std::uint64_t>(level);
    };
    const std::vector<std::uint32_t> chain = ChainOf(store, item);
    OpenGroups groups(*graph_, target, chain);
    std::size_t written = 0;
    complete = graph_->Walk(
        target, chain, itemLevel,
        [&](const DependencyNode& node) {
            if (written == room) {
                return WalkStep::Stop;
            }
            ++written;
            lines.Line(node.depth, node.label);
            if (node.state != DependencyState::Expanded) {
                return WalkStep::Continue;
            }
            const bool keep = groups.RecursAlike(node.file);
            const std::uint64_t key = keyOf(node.file, node.depth);
            if (keep) {
                if (const auto kept = keptText_.find(key);
                    kept != keptText_.end() && written + kept->second.lines <= room) {
                    lines.Text(kept->second.text);
                    written += kept->second.lines;
                    if (keeping == 0) {
                        lines.Pass();
                    }
                    return WalkStep::SkipChildren;
                }
            }
            open.push_back({groups.Enter(node.file), lines.Size(), written, key, keep});
            keeping += keep ? 1 : 0;
            return WalkStep::Continue;
        },
        [&](const DependencyNode&) {
            const Open done = open.back();
            open.pop_back();
            groups.Leave(done.group);
            if (!done.keep) {
                return;
            }
            --keeping;
            const std::string_view text = lines.View().substr(done.start);
            if (keptBytes_ + text.size() <= kKeptTextBudget) {
                keptText_[done.key] = {std::string(text), written - done.lines};
                keptBytes_ += text.size();
            }
            if (keeping > 0 && lines.Size() >= kOpenTextLimit) {
                for (Open& o : open) {
                    o.keep = false;  // too large to keep: the text goes out
                }
                keeping = 0;
            }
            if (keeping == 0) {
                lines.Pass();
            }
        });
    return written;
}

bool DependencyView::SearchDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                                       WTreeSearchWalk& search) {
    const Entry* found = Present(entries_.Find(item));
    if (found == nullptr) {
        return true;
    }
    const std::uint32_t target = found->target;
    const std::vector<std::uint32_t> chain = ChainOf(store, item);
    OpenGroups groups(*graph_, target, chain);
    // A file's subtree being walked: what the search learns of it when it recurs alike.
    struct Open {
        std::uint32_t group;
        std::uint64_t key;
        std::size_t passedBefore;
        bool recursAlike;
        bool hit;
    };
    std::vector<Open> open;
    std::vector<std::uint32_t> place;
    std::size_t passed = 0;
    return graph_->Walk(
        target, chain, itemLevel,
        [&](const DependencyNode& node) {
            StepPlace(place, node.depth - itemLevel);
            if (!search.Pass(1)) {
                return WalkStep::Stop;
            }
            ++passed;
            if (search.Matches(node.labelId, node.label)) {
                if (!open.empty()) {
                    open.back().hit = true;
                }
                if (!search.Found(place)) {
                    return WalkStep::Stop;
                }
            }
            if (node.state != DependencyState::Expanded) {
                return WalkStep::Continue;
            }
            const bool recursAlike = groups.RecursAlike(node.file);
            const std::uint64_t key = (static_cast<std::uint64_t>(target) << 32) | node.file;
            if (recursAlike) {
                const auto known = search.Subtrees().find(key);
                if (known != search.Subtrees().end() && !known->second.hit) {
                    passed += known->second.items;
                    return search.Pass(known->second.items) ? WalkStep::SkipChildren
                                                            : WalkStep::Stop;
                }
            }
            open.push_back({groups.Enter(node.file), key, passed, recursAlike, false});
            return WalkStep::Continue;
        },
        [&](const DependencyNode&) {
            const Open done = open.back();
            open.pop_back();
            groups.Leave(done.group);
            if (done.hit && !open.empty()) {
                open.back().hit = true;
            }
            if (done.recursAlike) {
                search.Subtrees()[done.key] = {passed - done.passedBefore, done.hit};
            }
        });
}

void DependencyView::ForEachDependencyFile(const WTreeStore& tree, WTreeItem target,
                                           WTreeItem dependencies,
                                           const std::function<void(std::string_view)>& visit) {
    const std::uint32_t graphTarget = TargetOf(target);
    std::unordered_set<std::uint32_t> expanded;
    LabelsMet given;
    const auto firstExpansion = [&](std::uint32_t file) {
        return graph_->DependsOnChain(graphTarget, file) || expanded.insert(file).second;
    };
    for (WTreeItem source = tree.FirstChild(dependencies); source != kNoItem;
         source = tree.NextSibling(source)) {
        std::uint32_t file = 0;
        if (!SourceOf(source, file)) {
            ForEachMadeSourceFile(tree, source, visit);
            continue;
        }
        visit(tree.Label(source));
        if (!firstExpansion(file)) {
            continue;
        }
        WalkDependencies(tree, source, 0, [&](const DependencyNode& node) {
            if (given.FirstTime(node.labelId)) {  // a name given before is passed by
                visit(node.label);
            }
            if (node.state == DependencyState::Expanded && !firstExpansion(node.file)) {
                return WTreeWalkStep::SkipChildren;
            }
            return WTreeWalkStep::Continue;
        });
    }
}

DependencyView* DependencyViewOf(const WTreeStore& tree) {
    return dynamic_cast<DependencyView*>(tree.ChildSource());
}

bool WalkSourceDependencies(const WTreeStore& tree, WTreeItem source,
                            const std::function<WTreeWalkStep(const DependencyNode&)>& visit,
                            const MissedName& miss) {
    DependencyView* view = DependencyViewOf(tree);
    return view == nullptr || view->WalkDependencies(tree, source, 0, visit, miss);
}
