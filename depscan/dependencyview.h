#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/witemtable.h"
#include "classlib/core/wtreestore.h"
#include "depscan/dependencygraph.h"
#include "project/projectfiles.h"

// The dependency nodes of a loaded tree, made when the tree first asks for
// them: below each source node and each dependency node of a file that is
// read there, the nodes its file's findings give along the chain of files
// above it. The tree store owns the view (as its child source); walks see
// every node, made or not, and make none.
// Called with the naming file and the name of an include that found no file.
using MissedName = std::function<void(std::string_view namingFile, std::string_view name)>;

class DependencyView : public WTreeChildSource, public DependencyFiles {
public:
    explicit DependencyView(std::unique_ptr<DependencyGraph> graph);

    // A target node and its target in the graph.
    void AddTarget(WTreeItem item, std::uint32_t target) { targets_[item] = target; }
    // The graph's target of a target node; DependencyGraph::kNone for another node.
    std::uint32_t TargetOf(WTreeItem item) const;
    // The file of a node whose children come from here; false for another node.
    bool SourceOf(WTreeItem item, std::uint32_t& file) const;

    // A source node whose file is read: its children come from here.
    void AddSource(WTreeItem item, std::uint32_t target, std::uint32_t file);

    bool Provides(WTreeItem item) const override;
    bool HasChildren(const WTreeStore& store, WTreeItem item) override;
    void MakeChildren(WTreeStore& store, WTreeItem item) override;
    bool WalkDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                         const Visit& visit) override;
    // Labels are matched by the graph's numbering; a file's subtree that
    // recurs alike is passed by once the search knows it holds no hit.
    bool SearchDescendants(const WTreeStore& store, WTreeItem item, int itemLevel,
                           WTreeSearchWalk& search) override;

    // The dependency tree below item (a source node or a dependency node
    // whose file is read), pre-order, as the tree shows it; depth of item's
    // children is itemLevel + 1; miss as for DependencyGraph::Walk, when
    // given. False when visit stopped the walk.
    bool WalkDependencies(const WTreeStore& store, WTreeItem item, int itemLevel,
                          const std::function<WTreeWalkStep(const DependencyNode&)>& visit,
                          const MissedName& miss = {});

    // The text of a file's subtree that recurs at the same level where the
    // chain above it cannot change it is kept (up to a budget) and copied
    // instead of walked again.
    std::size_t WriteDescendantLines(const WTreeStore& store, WTreeItem item, int itemLevel,
                                     WTreeLineWriter& lines, std::size_t room,
                                     bool& complete) override;

    // A file's subtree is passed by once expanded before for the target,
    // unless a name below it is searched through the chain.
    void ForEachDependencyFile(const WTreeStore& tree, WTreeItem target, WTreeItem dependencies,
                               const std::function<void(std::string_view name)>& visit) override;

    DependencyGraph& Graph() { return *graph_; }

private:
    struct Entry {
        std::uint32_t target = 0;
        std::uint32_t file = 0;
        bool made = false;
        // Views ask on every paint: the answer is kept once known.
        enum class Children : unsigned char { Unknown, Some, None } children = Children::Unknown;
        bool present = false;
    };
    std::vector<std::uint32_t> ChainOf(const WTreeStore& store, WTreeItem item) const;

    std::unique_ptr<DependencyGraph> graph_;
    // By item: a map grown by rehashing would stall a long run of expansions.
    WItemTable<Entry> entries_;
    std::unordered_map<WTreeItem, std::uint32_t> targets_;
    struct KeptText {
        std::string text;
        std::size_t lines = 0;
    };
    // By target, file and level, each packed into 64 bits.
    std::unordered_map<std::uint64_t, KeptText> keptText_;  // of keptTarget_ only
    std::uint32_t keptTarget_ = DependencyGraph::kNone;
    std::size_t keptBytes_ = 0;
};

// The view of a loaded tree; null when the tree has none (nothing loaded yet).
DependencyView* DependencyViewOf(const WTreeStore& tree);

// The dependency tree below one source node (a child of a target's
// "Dependency Filelist" node), pre-order, depth first in file order, exactly
// as the tree shows it, whether its nodes are made or not: each node with its
// depth (the source's children are at 1), label, kind and state (a cut cycle,
// a file that cannot be read, a library, a resource file or literal, or a
// file read there whose own nodes follow). Nothing for a source that is not
// read. miss, when given, gets each include name of a walked file that found
// no file, in walk order. False when visit stopped the walk. Outputs that list
// what each source depends on are walks of this.
bool WalkSourceDependencies(const WTreeStore& tree, WTreeItem source,
                            const std::function<WTreeWalkStep(const DependencyNode&)>& visit,
                            const MissedName& miss = {});
