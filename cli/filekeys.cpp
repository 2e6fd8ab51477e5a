#include "cli/filekeys.h"

#include "classlib/core/pathrules.h"

std::string FileKeyOf(std::string_view folder, std::string_view path) {
    return AsciiLowered(LexicallyFolded(PathInFolder(folder, WithHostSeparators(path))));
}

void FileNumbers::BeginTarget(std::string_view folder) {
    folder_ = folder;
    byLabel_.clear();
}

std::uint32_t FileNumbers::NumberOf(WTreeLabel labelId, std::string_view label, bool* isNew) {
    if (labelId >= byLabel_.size()) {
        byLabel_.resize(static_cast<std::size_t>(labelId) + 1, kUnknown);
    }
    if (isNew != nullptr) {
        *isNew = false;
    }
    std::uint32_t& number = byLabel_[labelId];
    if (number == kUnknown) {
        const auto [found, inserted] =
            byKey_.emplace(FileKeyOf(folder_, label), static_cast<std::uint32_t>(byKey_.size()));
        number = found->second;
        if (isNew != nullptr) {
            *isNew = inserted;
        }
    }
    return number;
}
