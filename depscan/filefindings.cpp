#include "depscan/filefindings.h"

#include <functional>
#include <iterator>

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
        if (parseLiterals == ParseLiterals::On) {
            FindLiterals(scanner, findings);
        }
        return findings;
    }
    // Includes and literals in one reading; the literals follow the includes.
    std::vector<Finding> literals;
    scanner.FindIncludesAndLiterals(
        [&](const std::string& name, char opener) {
            findings.push_back({Finding::Kind::Include, opener, name});
        },
        parseLiterals == ParseLiterals::On
            ? std::function<void(const std::string&)>([&](const std::string& text) {
                  literals.push_back({Finding::Kind::Literal, 0, text});
              })
            : nullptr);
    std::move(literals.begin(), literals.end(), std::back_inserter(findings));
    return findings;
}
