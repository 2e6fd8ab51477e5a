#pragma once

#include <string>
#include <string_view>

// How the scan treats a file, decided from its path alone.
enum class FileClass { Source, ResourceScript, Library };

// The path lower-cased ('A'..'Z' only) from its last '.' to the end, the dot
// included; empty when the path has no '.'.
std::string ExtensionPiece(std::string_view path);

// A library when the extension piece occurs within ".lib"; otherwise a
// resource script when it occurs within ".rc,.dlg". Any piece of those texts
// counts, so ".r", ".dl" and a bare "." qualify too (a bare "." is a library:
// libraries are tested first, as they are never read).
FileClass ClassifyFile(std::string_view path);
