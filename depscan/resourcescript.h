#pragma once

#include <string>
#include <string_view>

#include "depscan/wcinclude.h"

// One thing a resource script names.
struct ScriptReference {
    enum class Kind { Include, ResourceFile };
    Kind kind = Kind::Include;
    std::string name;  // the include name, or the resource line's file-name piece
    char opener = 0;   // the include's opener
};

// Reads a resource script once, front to back, finding every include
// directive and every resource line that names a file (see ResourceLinePiece)
// in the order they stand in the file; where the file is looked for is
// ResolveResourceFile's. An include completes at its closing quote, a
// resource line at its end, so a line holding both gives the include first.
class ResourceScriptReader {
public:
    explicit ResourceScriptReader(WCInclude& scanner);

    // False once the end of the file has been examined.
    bool Next(ScriptReference& reference);

private:
    WCInclude& scanner_;
    IncludeMachine machine_;
    std::string line_;
    bool ended_ = false;
};
