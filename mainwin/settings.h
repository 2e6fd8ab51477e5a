#pragma once

// The settings file and its names, shared by the reading and the writing code.
inline constexpr const char* kSettingsFile = ".\\Tamsk.Ini";
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kFolderKey = "Folder";
inline constexpr const char* kParseSourceKey = "ParseSource";
