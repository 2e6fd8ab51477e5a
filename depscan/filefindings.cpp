#include "depscan/filefindings.h"

#include "depscan/resourcescript.h"

namespace {

void FindScriptReferences(WCInclude& scanner, std::vector<Finding>& findings) {
    ResourceScriptReader reader(scanner);
    ScriptReference reference;
    while (reader.Next(reference)) {
        const bool include = reference.kind == ScriptReference::Kind::Include;
        findings.push_back({include ? Finding::Kind::Include : Finding::Kind::ResourceFile,
                            reference.opener, std::move(reference.name)});
    }
}

void FindIncludes(WCInclude& scanner, std::vector<Finding>& findings) {
    WString name;
    char opener = 0;
    while (scanner.NextInclude(name, opener)) {
        findings.push_back({Finding::Kind::Include, opener, name.Str()});
    }
}

void FindLiterals(WCInclude& scanner, std::vector<Finding>& findings) {
    scanner.Rewind();
    WString text;
    while (scanner.NextStringLiteral(text)) {
        if (!text.IsEmpty()) {
            findings.push_back({Finding::Kind::Literal, 0, text.Str()});
        }
    }
}

}  // namespace

std::vector<Finding> FindReferences(WCInclude& scanner, FileClass fileClass,
                                    ParseLiterals parseLiterals) {
    std::vector<Finding> findings;
    if (fileClass == FileClass::Library || !scanner.IsOpen()) {
        return findings;
    }
    if (fileClass == FileClass::ResourceScript) {
        FindScriptReferences(scanner, findings);
    } else {
        FindIncludes(scanner, findings);
    }
    if (parseLiterals == ParseLiterals::On) {
        FindLiterals(scanner, findings);
    }
    return findings;
}
