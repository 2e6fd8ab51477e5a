#include "depscan/includeresolution.h"

#include <algorithm>
#include <vector>

#include "classlib/core/wtokens.h"
#include "depscan/normalizepath.h"
#include "depscan/projectpath.h"
#include "project/projecttree.h"

namespace {

constexpr std::string_view kCompilerMacro = "$(%watcom)";

std::string ExpandCompilerMacro(std::string_view text, std::string_view compilerFolder) {
    std::string expanded;
    for (std::size_t at = 0;;) {
        const std::size_t macro = text.find(kCompilerMacro, at);
        expanded += text.substr(at, macro == std::string_view::npos ? macro : macro - at);
        if (macro == std::string_view::npos) {
            return expanded;
        }
        expanded += compilerFolder;
        at = macro + kCompilerMacro.size();
    }
}

std::string CleanedIfExists(std::string candidate, std::string_view projectFolder, HostFs& fs) {
    NormalizePathText(candidate, projectFolder);
    if (candidate.empty() || !fs.Exists(InProjectFolder(projectFolder, candidate))) {
        return {};
    }
    return candidate;
}

// The folders and name of a location, '/' and '\' alike, "." and empty
// components dropped and "name\.." folded; a rooted path starts with "/".
std::vector<std::string_view> PlaceComponents(const std::string& path) {
    std::vector<std::string_view> parts;
    const std::string_view text = path;
    if (!text.empty() && (text[0] == '/' || text[0] == '\\')) {
        parts.push_back("/");  // a rooted path never matches a relative one
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '/' && text[i] != '\\') {
            continue;
        }
        const std::string_view part = text.substr(start, i - start);
        start = i + 1;
        if (part == ".." && !parts.empty() && parts.back() != ".." && parts.back() != "/") {
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    return parts;
}

}  // namespace

WString ReadCompilerFolder() {
    return WString::GetEnvironmentVariable("WATCOM");
}

bool IncludeDirectories(const WTreeStore& tree, WTreeItem sourceNode, WString& list,
                        const WString& compilerFolder) {
    if (sourceNode == kNoItem || !tree.IsValid(sourceNode)) {
        return false;
    }
    const WTreeItem dependencyFilelist = tree.Parent(sourceNode);
    if (dependencyFilelist == kNoItem) {
        return false;
    }
    const WTreeItem before = tree.PreviousSibling(dependencyFilelist);
    if (before == kNoItem) {
        return false;
    }
    const WTreeItem firstChild = tree.FirstChild(before);
    const std::string_view text = tree.Label(firstChild != kNoItem ? firstChild : before);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    std::size_t start = colon + 1;
    while (start < text.size() && text[start] == ' ') {
        ++start;
    }
    list.Assign(ExpandCompilerMacro(text.substr(start), compilerFolder.View()));
    return true;
}

std::vector<std::string> IncludeDirectoryPieces(std::string_view list) {
    const TokenRules rules{";", "\"\"''", TokenEmpty::Drop, TokenQuotes::Remove, TokenEscapes::On};
    std::vector<std::string> pieces;
    for (const WString& piece : SplitTokens(list, rules)) {
        pieces.push_back(piece.Str());
    }
    return pieces;
}

WString ResolveInclude(const WString& projectFolder, const WString& name, const WString& list,
                       char opener, HostFs& fs) {
    IncludeResolver resolver(projectFolder.View(), list.View(), fs);
    return WString(resolver.Resolve(name.View(), opener));
}

std::string ResolveNextToFile(std::string_view projectFolder, std::string_view folder,
                              std::string_view name, HostFs& fs) {
    std::string candidate(folder);
    candidate += name;
    return CleanedIfExists(std::move(candidate), projectFolder, fs);
}

bool IsInCompilerFolder(std::string_view path, std::string_view compilerFolder,
                        std::string_view projectFolder) {
    if (compilerFolder.empty()) {
        return false;
    }
    const std::string folderPlace = InProjectFolder(projectFolder, compilerFolder);
    const std::string filePlace = InProjectFolder(projectFolder, path);
    const std::vector<std::string_view> folder = PlaceComponents(folderPlace);
    const std::vector<std::string_view> place = PlaceComponents(filePlace);
    // The root alone names no compiler folder: it would leave out everything.
    const bool namesAFolder = !folder.empty() && !(folder.size() == 1 && folder.front() == "/");
    return namesAFolder && place.size() > folder.size() &&
           std::equal(folder.begin(), folder.end(), place.begin());
}

IncludeResolver::IncludeResolver(std::string_view projectFolder, std::string_view list, HostFs& fs)
    : projectFolder_(projectFolder), pieces_(IncludeDirectoryPieces(list)), fs_(fs) {}

const std::string& IncludeResolver::Resolve(std::string_view name, char opener) {
    std::string key(1, opener);
    key += name;
    auto found = resolved_.find(key);
    if (found == resolved_.end()) {
        found = resolved_.emplace(std::move(key), Search(name, opener)).first;
    }
    return found->second;
}

std::string IncludeResolver::Search(std::string_view name, char opener) {
    if (opener == '"') {
        std::string candidate = projectFolder_;
        candidate += name;
        std::string found = CleanedIfExists(std::move(candidate), projectFolder_, fs_);
        if (!found.empty()) {
            return found;
        }
    }
    for (const std::string& piece : pieces_) {
        std::string candidate = piece;
        candidate += '\\';
        candidate += name;
        std::string found = CleanedIfExists(std::move(candidate), projectFolder_, fs_);
        if (!found.empty()) {
            return found;
        }
    }
    return {};
}

const std::string& IncludeResolver::ResolveNextTo(std::string_view folder, std::string_view name) {
    std::string key(folder);
    key += '\0';
    key += name;
    auto found = resolvedNextTo_.find(key);
    if (found == resolvedNextTo_.end()) {
        found = resolvedNextTo_
                    .emplace(std::move(key), ResolveNextToFile(projectFolder_, folder, name, fs_))
                    .first;
    }
    return found->second;
}
