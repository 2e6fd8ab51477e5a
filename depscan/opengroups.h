#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "depscan/dependencygraph.h"

// The groups of files (see DependencyGraph::GroupOf) open on a walk's chain. A
// file's subtree is the same wherever it recurs in the target when nothing
// below it is searched through the chain and no file of its group is open
// above it: no cycle can then be cut differently.
class OpenGroups {
public:
    OpenGroups(const DependencyGraph& graph, std::uint32_t target,
               const std::vector<std::uint32_t>& chain)
        : graph_(graph), target_(target) {
        for (const std::uint32_t file : chain) {
            Enter(file);
        }
    }
    bool RecursAlike(std::uint32_t file) const {
        if (graph_.DependsOnChain(target_, file)) {
            return false;
        }
        const std::uint32_t group = graph_.GroupOf(target_, file);
        if (group == DependencyGraph::kNone) {
            return true;
        }
        const auto open = open_.find(group);
        return open == open_.end() || open->second == 0;
    }
    // The file's group, now open; give it back to Leave.
    std::uint32_t Enter(std::uint32_t file) {
        const std::uint32_t group = graph_.GroupOf(target_, file);
        if (group != DependencyGraph::kNone) {
            ++open_[group];
        }
        return group;
    }
    void Leave(std::uint32_t group) {
        if (group != DependencyGraph::kNone) {
            --open_[group];
        }
    }
    void Clear() { open_.clear(); }

private:
    const DependencyGraph& graph_;
    std::uint32_t target_;
    std::unordered_map<std::uint32_t, std::uint32_t> open_;  // by group: files open
};
