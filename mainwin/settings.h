#pragma once

// The settings file and its names, shared by the reading and the writing code.
inline constexpr const char* kSettingsFile = ".\\Tamsk.Ini";
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kFolderKey = "Folder";
inline constexpr const char* kParseSourceKey = "ParseSource";
// The main window's outer position and its size, restored at the next start.
inline constexpr const char* kWindowLeftKey = "WindowLeft";
inline constexpr const char* kWindowTopKey = "WindowTop";
inline constexpr const char* kWindowWidthKey = "WindowWidth";
inline constexpr const char* kWindowHeightKey = "WindowHeight";
