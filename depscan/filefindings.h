#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "depscan/fileclass.h"
#include "depscan/wcinclude.h"
#include "project/projecttree.h"

// One name that a file gives, in the order the scan meets it.
struct Finding {
    enum class Kind : unsigned char { Include, ResourceFile, Literal };
    Kind kind = Kind::Include;
    char opener = 0;   // an include's '"' or '<'
    std::string name;  // include name, resource line's file-name piece, or literal text
};

// Everything one file names: for a resource script its include directives and
// resource lines in file order, otherwise its include directives; then, with
// parseLiterals on, its string literals that name existing files (tested
// from the scanner's folder). A library names nothing. The resolved tree
// below a file depends only on these, the include directory list, the target
// folder and the file's own name, so a file is read once per load however
// often it is included.
std::vector<Finding> FindReferences(WCInclude& scanner, FileClass fileClass,
                                    ParseLiterals parseLiterals);
