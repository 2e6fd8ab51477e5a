#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/hostfs.h"
#include "depscan/fileclass.h"
#include "depscan/wcinclude.h"
#include "project/projecttree.h"

// One name that a file gives, in the order the scan meets it.
struct Finding {
    enum class Kind : unsigned char { Include, ResourceFile, Literal };
    Kind kind = Kind::Include;
    char opener = 0;   // an include's '"' or '<'
    std::string name;  // include name, cleaned resource-line file, or literal text
};

// Everything one file names: for a resource script its include directives and
// resource lines in file order, otherwise its include directives; then, with
// parseLiterals on, its string literals that name existing files. A library
// names nothing. The resolved tree below a file depends only on these, the
// include directory list and the target folder, so a file is read once per
// load however often it is included.
std::vector<Finding> FindReferences(WCInclude& scanner, FileClass fileClass,
                                    ParseLiterals parseLiterals, std::string_view targetFolder,
                                    HostFs& fs);
