#include "depscan/scannotes.h"

void MissingNames::Add(WTreeItem target, std::string_view namingFile, std::string_view name) {
    std::string key = std::to_string(target);
    key += '\0';
    key += namingFile;
    key += '\0';
    key += name;
    if (keys_.insert(std::move(key)).second) {
        missing_.push_back({target, std::string(namingFile), std::string(name)});
    }
}
