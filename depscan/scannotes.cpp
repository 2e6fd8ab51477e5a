#include "depscan/scannotes.h"

#include <algorithm>

void ScanNotes::MarkCycleCut(WTreeItem item) {
    if (cycleCuts_.size() <= item) {
        cycleCuts_.resize(std::max<std::size_t>(item + 1, cycleCuts_.size() * 2), false);
    }
    cycleCuts_[item] = true;
}

void ScanNotes::AddMissing(WTreeItem target, std::string_view namingFile, std::string_view name) {
    std::string key = std::to_string(target);
    key += '\0';
    key += namingFile;
    key += '\0';
    key += name;
    if (missingKeys_.insert(std::move(key)).second) {
        missing_.push_back({target, std::string(namingFile), std::string(name)});
    }
}
