#pragma once

#include <string>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "depscan/wcinclude.h"

// One thing a resource script names.
struct ScriptReference {
    enum class Kind { Include, ResourceFile };
    Kind kind = Kind::Include;
    std::string name;  // the include name, or the cleaned resource-line file name
    char opener = 0;   // the include's opener
};

// Reads a resource script once, front to back, finding every include
// directive and every resource line (see WCInclude::NextResourceFile) in the
// order they stand in the file. An include completes at its closing quote, a
// resource line at its end, so a line holding both gives the include first.
class ResourceScriptReader {
public:
    ResourceScriptReader(WCInclude& scanner, std::string_view targetFolder, HostFs& fs);

    // False once the end of the file has been examined.
    bool Next(ScriptReference& reference);

private:
    WCInclude& scanner_;
    std::string targetFolder_;
    HostFs& fs_;
    IncludeMachine machine_;
    std::string line_;
    bool ended_ = false;
};
