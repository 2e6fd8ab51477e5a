#include "mainwin/startoptions.h"

#include <algorithm>

#include "classlib/core/pathrules.h"
#include "mainwin/settings.h"

namespace {

constexpr std::string_view kSettingsName = "Tamsk.Ini";

// folder and name with one separator of the host's kind between them.
std::string Joined(std::string_view folder, std::string_view name, char separator) {
    std::string joined(folder);
    if (!joined.empty() && !IsPathSeparator(joined.back())) {
        joined += separator;
    }
    return joined.append(name);
}

// The folder that the user's programs keep their settings in; empty when none is named.
std::string ConfigFolder(const EnvironmentReader& environment, ConfigRules rules) {
    if (rules == ConfigRules::Windows) {
        return environment("APPDATA");
    }
    // Relative values are not to be trusted: they would depend on the current folder.
    if (const std::string configHome = environment("XDG_CONFIG_HOME");
        IsHostAbsolutePath(configHome)) {
        return configHome;
    }
    const std::string home = environment("HOME");
    return IsHostAbsolutePath(home) ? Joined(home, ".config", '/') : std::string();
}

std::string WithoutTrailingSeparator(std::string_view folder) {
    while (folder.size() > 1 && IsPathSeparator(folder.back())) {
        folder.remove_suffix(1);
    }
    return std::string(folder);
}

}  // namespace

std::string UserSettingsFile(const EnvironmentReader& environment, ConfigRules rules) {
    const std::string config = ConfigFolder(environment, rules);
    if (config.empty()) {
        return {};
    }
    if (rules == ConfigRules::Windows) {
        return Joined(Joined(config, "Tamsk", '\\'), kSettingsName, '\\');
    }
    return Joined(Joined(config, "tamsk", '/'), kSettingsName, '/');
}

StartOptions PrepareStart(const std::vector<std::string>& arguments,
                          const EnvironmentReader& environment, ConfigRules rules, HostFs& fs,
                          std::string& complaint) {
    complaint.clear();
    StartOptions start{kSettingsFile, {}};
    std::copy_if(arguments.begin(), arguments.end(), std::back_inserter(start.projectArguments),
                 [](const std::string& argument) { return argument != kUserSettingsOption; });
    if (start.projectArguments.size() == arguments.size()) {
        return start;
    }
    const std::string userFile = UserSettingsFile(environment, rules);
    if (userFile.empty()) {
        complaint = std::string(kUserSettingsOption) +
                    (rules == ConfigRules::Windows
                         ? ": APPDATA is not set"
                         : ": neither XDG_CONFIG_HOME nor HOME names an absolute folder") +
                    "; the settings stay in Tamsk.Ini of the current folder";
        return start;
    }
    start.settingsFile = userFile;
    // The configuration folder itself may be missing on a fresh account; a folder that is
    // there already counts as made.
    const std::string folder = WithoutTrailingSeparator(FolderOfPath(userFile));
    for (const std::string& needed : {WithoutTrailingSeparator(FolderOfPath(folder)), folder}) {
        if (const HostStatus made = fs.CreateFolder(needed); !made.ok()) {
            complaint = std::string(kUserSettingsOption) + ": " + made.reason +
                        "; the settings will not be stored";
            break;
        }
    }
    return start;
}
