#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/hostfs.h"

// The window's command line. Started from a terminal the program keeps its
// settings in the current folder, where stored files and portable copies rely
// on them. The desktop's menu starts it in the home folder or in "/", so its
// entry passes this option, which keeps the same file in the user's
// configuration folder instead. Every other argument names a project to open.
inline constexpr std::string_view kUserSettingsOption = "--user-settings";

// Whose rules place the user's configuration folder.
enum class ConfigRules { Xdg, Windows };
#ifdef _WIN32
inline constexpr ConfigRules kHostConfigRules = ConfigRules::Windows;
#else
inline constexpr ConfigRules kHostConfigRules = ConfigRules::Xdg;
#endif

// A variable of the environment; empty when it is not set.
using EnvironmentReader = std::function<std::string(const char* name)>;

// The per-user settings file: $XDG_CONFIG_HOME/tamsk/Tamsk.Ini, taking
// $HOME/.config when XDG_CONFIG_HOME is unset, empty or relative; on Windows
// %APPDATA%\Tamsk\Tamsk.Ini. Empty when the environment names no such folder.
std::string UserSettingsFile(const EnvironmentReader& environment, ConfigRules rules);

struct StartOptions {
    std::string settingsFile;                   // read at start, written at the end
    std::vector<std::string> projectArguments;  // the arguments but the option
};

// Reads the command line and, with the option, makes the settings file's
// folder (and the configuration folder above it) when missing. When the
// user's folder cannot be found the current folder's file is kept; when it
// cannot be made the settings will not be stored. Either way complaint says
// so in one line; otherwise it is empty.
StartOptions PrepareStart(const std::vector<std::string>& arguments,
                          const EnvironmentReader& environment, ConfigRules rules, HostFs& fs,
                          std::string& complaint);
