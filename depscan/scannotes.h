#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"

// A name that resolves to no file: an include that is found nowhere (and not
// left out as the compiler's own), or a source item with no file behind it.
struct MissingName {
    WTreeItem target = kNoItem;
    std::string namingFile;  // as the tree shows it; the target file for a source item
    std::string name;        // as written
};

// What a dependency scan learns that the tree does not show: which names
// found no file. (The nodes whose file was open higher up their chain, so that
// their subtree is not there, the scan marks in the tree itself.) Filled by the
// scan when one is given to it; read by the project walk.
class ScanNotes {
public:
    // Each (target, naming file, name) once, in the order met.
    void AddMissing(WTreeItem target, std::string_view namingFile, std::string_view name);
    const std::vector<MissingName>& Missing() const { return missing_; }

    // The value of WATCOM the scan ran with.
    WString compilerFolder;

private:
    std::vector<MissingName> missing_;
    std::unordered_set<std::string> missingKeys_;
};
