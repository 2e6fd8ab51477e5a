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

// What a load learns for the project walk that the tree does not show. Filled
// by the scan when one is given to it. (The includes that find no file the walk
// meets itself; the nodes whose file was open higher up their chain it is told
// by the dependency view.)
struct ScanNotes {
    // The value of WATCOM the scan ran with.
    WString compilerFolder;
    // The source items with no file behind them.
    std::unordered_set<WTreeItem> missingSources;
};

// The missing names a walk meets, each (target, naming file, name) once, in
// the order met.
class MissingNames {
public:
    void Add(WTreeItem target, std::string_view namingFile, std::string_view name);
    const std::vector<MissingName>& Names() const { return missing_; }

private:
    std::vector<MissingName> missing_;
    std::unordered_set<std::string> keys_;
};
