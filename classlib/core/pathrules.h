#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/asciicase.h"

// The rules by which Tamsk reads and builds paths, each written once. Project
// files come from Windows, so '\' and '/' are alike in every rule, and letter
// case is folded by the one ASCII rule of asciicase.h.

// '\' and '/' both count as separators on every host.
inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// What Tamsk puts between a folder and a name it joins: HostFs takes '/' on
// every host.
inline constexpr char kHostSeparator = '/';

// '/' read as '\', for rules that compare Windows paths.
constexpr char WithBackslash(char c) {
    return c == '/' ? '\\' : c;
}

// The two texts the same path as Tamsk compares names a project gives: '/'
// and '\' alike, letters without regard to case (asciicase.h).
bool SamePathText(std::string_view a, std::string_view b);

// A path that does not start below a folder: a leading separator ("\x",
// "/x", "\\server\share") or a drive letter and ':' ("C:\x", also the
// drive-relative "C:x"). "1:x" has no drive: it is relative.
bool IsAbsolutePath(std::string_view path);

// Everything up to and including the last separator; empty when there is
// none ("a\b.c" -> "a\", "a\" -> "a\", "b.c" -> "").
std::string_view FolderOfPath(std::string_view path);

// Everything after the last separator ("a\b.c" -> "b.c", "a\" -> "").
std::string_view FileNameOfPath(std::string_view path);

// The components between separators, empty ones dropped ("/a//b\\" -> a, b).
std::vector<std::string_view> PathComponents(std::string_view path);

// The one rule for folding ".." as text: "." and empty components dropped,
// "name/.." folded, '/' separated. The host root (HostRootOf) stays as
// written and anchors the path as a leading separator does: ".." never climbs
// above either, and an anchored path keeps one '/' after its root ("C:x" ->
// "C:/x"); only the bare root ends in a separator. ".." at the top of a
// relative path stays. Windows folds paths this way; on POSIX a ".." after a
// symbolic link climbs from the link's target instead, so the project path
// leaves such ".." to the system (AbsoluteProjectPath).
std::string LexicallyFolded(std::string_view path);

// The part of a host path that ".." never climbs above and that folded paths
// keep as written: on Windows a drive ("C:") or a network share
// ("//server/share"); on POSIX nothing (the root is the leading separator).
std::string_view HostRootOf(std::string_view path);

// A host path that does not depend on the current folder: one with a host
// root or a leading separator.
bool IsHostAbsolutePath(std::string_view path);

// path with every separator turned to kHostSeparator.
std::string WithHostSeparators(std::string_view path);

// path with every separator turned to the platform's own, as its users write
// paths: '\' on Windows; unchanged elsewhere.
std::string WithNativeSeparators(std::string_view path);

// folder followed by name, with kHostSeparator between them unless folder is
// empty or already ends with a separator.
std::string JoinPath(std::string_view folder, std::string_view name);

// path as seen from folder: an absolute path as it stands, any other joined
// behind folder.
std::string PathInFolder(std::string_view folder, std::string_view path);
