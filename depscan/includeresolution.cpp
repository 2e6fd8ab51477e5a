#include "depscan/includeresolution.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "classlib/core/environment.h"
#include "classlib/core/pathrules.h"
#include "classlib/core/wtokens.h"
#include "depscan/normalizepath.h"
#include "project/projecttree.h"

namespace {

constexpr std::string_view kMacroStart = "$(%";
constexpr std::string_view kCompilerMacroName = "watcom";

// Every "$(%NAME)" replaced, left to right, in one pass: "watcom" (exactly) by
// the compiler folder, any other NAME by its environment value when it is set.
// A NAME ends at the first ')'; when another "$(%" comes first, the earlier
// one is plain text, so that every "$(%watcom)" is still found.
//
//   text (zlib=/z, WATCOM=/w)    result
//   $(%watcom)\h;$(%zlib)\inc    /w\h;/z\inc
//   $(%unset)\h                  unchanged   an unset variable stays as written
//   $(%WATCOM)\h                 /w\h        through the environment, not the macro
//   $(%a$(%watcom)               $(%a/w
//   $(%zlib                      unchanged   no ')': no macro
std::string ExpandListMacros(std::string_view text, std::string_view compilerFolder) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::string expanded;
    std::size_t copied = 0;
    std::size_t close = 0;  // the first ')' after the name being read; found once
    for (std::size_t start = text.find(kMacroStart); start != kNone;) {
        const std::size_t nameAt = start + kMacroStart.size();
        if (close < nameAt) {
            close = text.find(')', nameAt);
        }
        if (close == kNone) {
            break;
        }
        const std::size_t next = text.find(kMacroStart, nameAt);
        if (next < close) {
            start = next;
            continue;
        }
        const std::string_view name = text.substr(nameAt, close - nameAt);
        const std::optional<std::string> value =
            name == kCompilerMacroName ? std::string(compilerFolder) : EnvironmentValue(name);
        expanded += text.substr(copied, start - copied);
        expanded += value ? std::string_view(*value) : text.substr(start, close + 1 - start);
        copied = close + 1;
        start = next;
    }
    expanded += text.substr(copied);
    return expanded;
}

std::string CleanedIfExists(std::string candidate, std::string_view targetFolder, HostFs& fs) {
    NormalizePathText(candidate, targetFolder);
    if (candidate.empty() || !fs.Exists(PathInFolder(targetFolder, candidate))) {
        return {};
    }
    return candidate;
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
    list.Assign(ExpandListMacros(text.substr(start), compilerFolder.View()));
    return true;
}

std::vector<std::string> IncludeDirectoryPieces(std::string_view list) {
    const TokenRules rules{";", "\"\"''", TokenEmpty::Drop, TokenQuotes::Remove, TokenEscapes::On};
    // A quoted piece may still hold ';' ("a;b;c" quoted whole, as the IDE's
    // own projects write it): the compiler reads a folder between each two.
    const TokenRules semicolons{";", "", TokenEmpty::Drop, TokenQuotes::Keep, TokenEscapes::Off};
    std::vector<std::string> pieces;
    for (const WString& piece : SplitTokens(list, rules)) {
        for (const WString& folder : SplitTokens(piece.View(), semicolons)) {
            pieces.push_back(folder.Str());
        }
    }
    return pieces;
}

WString ResolveInclude(const WString& targetFolder, const WString& name, const WString& list,
                       char opener, HostFs& fs) {
    IncludeResolver resolver(targetFolder.View(), list.View(), fs);
    return WString(resolver.Resolve(name.View(), opener));
}

std::string ResolveNextToFile(std::string_view targetFolder, std::string_view folder,
                              std::string_view name, HostFs& fs) {
    std::string candidate(folder);
    candidate += name;
    return CleanedIfExists(std::move(candidate), targetFolder, fs);
}

std::string ResolveResourceFile(std::string_view targetFolder, std::string_view scriptFolder,
                                std::string_view piece, HostFs& fs) {
    std::string file(piece);
    NormalizePathText(file, targetFolder);
    // The folder and the piece are joined as they stand, also when the piece
    // is absolute: such a piece names nothing in the target folder.
    std::string joined(targetFolder);
    joined += file;
    if (!file.empty() && fs.Exists(joined)) {
        return file;
    }
    return ResolveNextToFile(targetFolder, scriptFolder, piece, fs);
}

namespace {

// The place of path (relative ones taken against the target folder), by components.
struct Place {
    std::string text;
    std::vector<std::string_view> components;
    bool absolute = false;

    Place(std::string_view path, std::string_view targetFolder)
        : text(LexicallyFolded(PathInFolder(targetFolder, path))),
          components(PathComponents(text)),
          absolute(IsAbsolutePath(text)) {}
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;

    // Inside folder or folder itself; a rooted place never lies in a relative one.
    bool In(const Place& folder) const {
        return absolute == folder.absolute && components.size() >= folder.components.size() &&
               std::equal(folder.components.begin(), folder.components.end(), components.begin());
    }
};

}  // namespace

bool IsInCompilerFolder(std::string_view path, std::string_view compilerFolder,
                        std::string_view targetFolder, std::string_view projectFolder) {
    if (compilerFolder.empty()) {
        return false;
    }
    const Place folder(compilerFolder, targetFolder);
    const Place place(path, targetFolder);
    // The root alone names no compiler folder: it would leave out everything.
    if (folder.components.empty() || place.components.size() <= folder.components.size() ||
        !place.In(folder)) {
        return false;
    }
    // The deeper folder decides: a project kept inside the compiler folder
    // keeps its own files, a compiler folder kept inside a project hides its.
    for (const std::string_view own : {targetFolder, projectFolder}) {
        if (own.empty()) {
            continue;
        }
        const Place ownPlace(own, targetFolder);
        if (ownPlace.In(folder) && place.In(ownPlace)) {
            return false;
        }
    }
    return true;
}

IncludeResolver::IncludeResolver(std::string_view targetFolder, std::string_view list, HostFs& fs)
    : targetFolder_(targetFolder), pieces_(IncludeDirectoryPieces(list)), fs_(fs) {}

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
        std::string candidate = targetFolder_;
        candidate += name;
        std::string found = CleanedIfExists(std::move(candidate), targetFolder_, fs_);
        if (!found.empty()) {
            return found;
        }
    }
    for (const std::string& piece : pieces_) {
        std::string candidate = piece;
        candidate += '\\';
        candidate += name;
        std::string found = CleanedIfExists(std::move(candidate), targetFolder_, fs_);
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
                    .emplace(std::move(key), ResolveNextToFile(targetFolder_, folder, name, fs_))
                    .first;
    }
    return found->second;
}
