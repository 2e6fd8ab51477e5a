#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"

// The compiler folder: the value of WATCOM, empty when it is not set. Read it
// once per load and pass it on; nothing keeps it process-wide.
WString ReadCompilerFolder();

// The include directory list of the target that sourceNode belongs to: the
// text after the first ':' (and the blanks after it) of the first child of
// the node just before "Dependency Filelist" (or of that node itself when it
// has no children), with every "$(%watcom)" replaced by compilerFolder and
// every other "$(%NAME)" by the environment variable NAME when it is set
// (left as written when not). False, leaving list alone, when a node is
// missing or the text holds no ':'.
bool IncludeDirectories(const WTreeStore& tree, WTreeItem sourceNode, WString& list,
                        const WString& compilerFolder);

// The include directory list split into its folders: ';' separates, quotes
// group and are removed, empty pieces dropped, backslash escapes on; then each
// piece is split again at every ';' it still holds (a quoted "a;b" is two
// folders, as the compiler reads it; quotes only keep blanks).
std::vector<std::string> IncludeDirectoryPieces(std::string_view list);

// Searches a name: a quoted one first behind the target folder, then (and
// every angle-bracket one only) behind each listed folder in order. Each
// candidate is cleaned with NormalizePath against the target folder; the
// first that exists (file or folder) is the result, else it is empty.
WString ResolveInclude(const WString& targetFolder, const WString& name, const WString& list,
                       char opener, HostFs& fs);

// The quoted-name search next to an including file: folder (the folder part
// of the including file's path, as the scan names it) followed by name,
// cleaned against the target folder; empty when that does not exist.
std::string ResolveNextToFile(std::string_view targetFolder, std::string_view folder,
                              std::string_view name, HostFs& fs);

// Where a resource-script line finds the file it names (piece, as
// ResourceLinePiece gives it): the piece cleaned against the target folder
// when the target folder followed by it exists; else beside the script, as a
// quoted include is found beside its file (scriptFolder: the folder part of
// the script's path as the scan names it). Empty when neither exists.
std::string ResolveResourceFile(std::string_view targetFolder, std::string_view scriptFolder,
                                std::string_view piece, HostFs& fs);

// True when path is to be left out of the dependency list: the file lies
// inside the compiler folder, decided on its location (relative paths taken
// against the target folder) by whole path components, case included, '/'
// and '\' counting alike. A compiler folder that names no folder (empty, or
// the root alone) leaves nothing out. A project's own files are never taken
// for the compiler's: a file inside the target folder or the project folder
// stays when that folder lies inside the compiler folder (or is it).
bool IsInCompilerFolder(std::string_view path, std::string_view compilerFolder,
                        std::string_view targetFolder = {}, std::string_view projectFolder = {});

// ResolveInclude for one include directory list with its answers remembered:
// the same name with the same opener is searched once per list.
class IncludeResolver {
public:
    IncludeResolver(std::string_view targetFolder, std::string_view list, HostFs& fs);

    const std::string& Resolve(std::string_view name, char opener);
    const std::string& ResolveNextTo(std::string_view folder, std::string_view name);

private:
    std::string Search(std::string_view name, char opener);

    std::string targetFolder_;
    std::vector<std::string> pieces_;
    HostFs& fs_;
    std::unordered_map<std::string, std::string> resolved_;        // opener + name
    std::unordered_map<std::string, std::string> resolvedNextTo_;  // folder + '\0' + name
};
