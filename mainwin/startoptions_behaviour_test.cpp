// Where the window keeps its settings: the current folder, or with the start
// option the user's configuration folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "mainwin/mainform.h"
#include "mainwin/startoptions.h"
#include "tests/support/fakehostfs.h"
#include "tests/support/tempdir.h"

namespace {

namespace fs = std::filesystem;

TEST(StartOptions, SettingsFileAndProjectArguments) {
    struct Case {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> environment;  // '%' stands for the test's folder
        ConfigRules rules;
        std::string settingsFile;
        std::vector<std::string> projects;
        std::string madeFolder;  // exists afterwards
        std::string complaint;
    };
    const std::string opt(kUserSettingsOption);
    const std::string noXdg = opt +
                              ": neither XDG_CONFIG_HOME nor HOME names an absolute folder; the "
                              "settings stay in Tamsk.Ini of the current folder";
    const Case cases[] = {
        {{}, {{"HOME", "%"}}, ConfigRules::Xdg, ".\\Tamsk.Ini", {}, "", ""},
        {{"a.wpj", "b"}, {{"HOME", "%"}}, ConfigRules::Xdg, ".\\Tamsk.Ini", {"a.wpj", "b"}, "", ""},
        {{opt, "a.wpj"},
         {{"XDG_CONFIG_HOME", "%/cfg/"}, {"HOME", "%/home"}},
         ConfigRules::Xdg,
         "%/cfg/tamsk/Tamsk.Ini",
         {"a.wpj"},
         "%/cfg/tamsk",
         ""},
        {{"a.wpj", opt},
         {{"XDG_CONFIG_HOME", ""}, {"HOME", "%"}},
         ConfigRules::Xdg,
         "%/.config/tamsk/Tamsk.Ini",
         {"a.wpj"},
         "%/.config/tamsk",
         ""},
        {{opt},
         {{"XDG_CONFIG_HOME", "relative/cfg"}, {"HOME", "%"}},
         ConfigRules::Xdg,
         "%/.config/tamsk/Tamsk.Ini",
         {},
         "%/.config/tamsk",
         ""},
        {{opt}, {{"HOME", "home"}}, ConfigRules::Xdg, ".\\Tamsk.Ini", {}, "", noXdg},
        {{opt, opt}, {}, ConfigRules::Xdg, ".\\Tamsk.Ini", {}, "", noXdg},
        {{opt},
         {{"APPDATA", "%/Roaming"}, {"HOME", "%"}},
         ConfigRules::Windows,
         "%/Roaming\\Tamsk\\Tamsk.Ini",
         {},
         "%/Roaming/Tamsk",
         ""},
        {{opt},
         {{"HOME", "%"}},
         ConfigRules::Windows,
         ".\\Tamsk.Ini",
         {},
         "",
         opt + ": APPDATA is not set; the settings stay in Tamsk.Ini of the current folder"},
        {{opt},
         {{"XDG_CONFIG_HOME", "%/locked"}},
         ConfigRules::Xdg,
         "%/locked/tamsk/Tamsk.Ini",
         {},
         "",
         opt + ": cannot create folder %/locked: Permission denied; the settings will not be "
               "stored"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const auto here = [&](const std::string& text) {
            return Substituted(text, {{'%', dir.path()}});
        };
        SCOPED_TRACE(here(c.settingsFile));
        FakeHostFs fs;
        fs.DenyOpen("locked");
        const EnvironmentReader environment = [&](const char* name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? std::string() : here(found->second);
        };
        std::string complaint;
        const StartOptions start = PrepareStart(c.arguments, environment, c.rules, fs, complaint);
        EXPECT_EQ(start.settingsFile, here(c.settingsFile));
        EXPECT_EQ(start.projectArguments, c.projects);
        EXPECT_EQ(complaint, here(c.complaint));
        if (!c.madeFolder.empty()) {
            EXPECT_TRUE(fs::is_directory(here(c.madeFolder)));
        }
    }
}

// The window reads and writes the file it was given, and nothing in the current folder.
TEST(StartOptions, WindowKeepsItsSettingsInTheGivenFile) {
    TempDir dir;
    const fs::path previousFolder = fs::current_path();
    fs::current_path(dir.path());
    const std::string userFile = dir.Write("cfg/tamsk/Tamsk.Ini", "[Options]\nParseSource=1\n");
    ASSERT_NE(CreateMainForm(userFile.c_str()), nullptr);
    DestroyMainForm();
    fs::current_path(previousFolder);
    EXPECT_EQ(ReadWhole(userFile).substr(0, 33), "[Options]\r\nParseSource=true\r\nWind");
    EXPECT_FALSE(fs::exists(dir.Join("Tamsk.Ini")));
}

}  // namespace
