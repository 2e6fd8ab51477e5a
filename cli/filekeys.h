#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/wtreestore.h"

// A file as Tamsk matches names: its path taken against a folder, folded
// lexically, '/' and '\' alike, letter case aside.
std::string FileKeyOf(std::string_view folder, std::string_view path);

// Numbers the files of a project walk: one number per file across all
// targets, found for a label of the current target without hashing it again.
class FileNumbers {
public:
    // Labels are relative to each target's folder: a new target, a new cache.
    void BeginTarget(std::string_view folder);

    // The file's number and whether it was met for the first time.
    std::uint32_t NumberOf(WTreeLabel labelId, std::string_view label, bool* isNew = nullptr);
    std::uint32_t Count() const { return static_cast<std::uint32_t>(byKey_.size()); }

    static constexpr std::uint32_t kUnknown = 0xFFFFFFFFu;

private:
    std::string folder_;
    std::unordered_map<std::string, std::uint32_t> byKey_;
    std::vector<std::uint32_t> byLabel_;  // of the current target
};
