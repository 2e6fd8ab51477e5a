#pragma once

#include <string>
#include <string_view>

// Paths of the scan are relative to the project folder. They are joined to it
// explicitly instead of making it the process's current folder, so nothing is
// left changed when a load stops early.

// True for "\x", "/x" and "C:..." (a drive): such paths are not joined.
bool IsAbsolutePath(std::string_view path);

// The path as the host should open it: absolute paths as they stand, others
// behind the project folder.
std::string InProjectFolder(std::string_view projectFolder, std::string_view path);

// Everything up to and including the last '\' or '/', or empty.
std::string_view FolderOfPath(std::string_view path);
