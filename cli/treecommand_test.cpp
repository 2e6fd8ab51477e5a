#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/runcli.h"
#include "depscan/projectload.h"
#include "tests/support/tempdir.h"

namespace {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliResult RunTamskCli(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = {"tamsk-cli"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.exitCode = RunCli(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string ShapesProject() {
    return ExamplesFolder() + "/shapes/shapes.wpj";
}

// The tree text of a whole load, made in-process without the command line.
std::string LoadedTreeText(const std::string& project) {
    HostFs fs;
    WTreeStore tree;
    EXPECT_EQ(LoadProjectWithDependencies(tree, WFilePath(std::string_view(project)), fs,
                                          ParseLiterals::Off),
              true);
    WString text;
    DumpTree(tree, tree.FirstRoot(), text, 0);
    return text.Str();
}

std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(TreeCommandTest, PrintsTheTreeOfTheLoadedProject) {
    const CliResult result = RunTamskCli({"tree", ShapesProject()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, LoadedTreeText(ShapesProject()));
}

TEST(TreeCommandTest, ProjectWithoutTargetsIsOneLine) {
    TempDir dir;
    const std::string project = dir.Write("empty.wpj", "40\r\nprojectIdent\r\n0\r\n");
    const CliResult result = RunTamskCli({"tree", project});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Project: empty [empty.wpj]\n");
}

TEST(TreeCommandTest, UnreadableProjectIsOneLineOnErrorAndExitTwo) {
    TempDir dir;
    for (const std::string& project : {dir.Join("missing.wpj"), dir.path()}) {
        SCOPED_TRACE(project);
        const CliResult result = RunTamskCli({"tree", project});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(CountLines(result.err), 1u);
        EXPECT_NE(result.err.find(project), std::string::npos);
    }
}

TEST(TreeCommandTest, HelpAndVersionExitZero) {
    const CliResult help = RunTamskCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tree"), std::string::npos);
    const CliResult treeHelp = RunTamskCli({"tree", "--help"});
    EXPECT_EQ(treeHelp.exitCode, 0);
    EXPECT_NE(treeHelp.out.find("PROJECT"), std::string::npos);
    const CliResult version = RunTamskCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("tamsk-cli ", 0), 0u);
}

TEST(TreeCommandTest, BadUsageExitsTwo) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"tree"},
                                                      {"trees", "a.wpj"},
                                                      {"tree", "a.wpj", "b.wpj"},
                                                      {"tree", "--no-such-option", "a.wpj"}}) {
        const CliResult result = RunTamskCli(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

// Lines of at most maxIndent leading blanks: project, targets, their details
// and groups. The dependency scan only adds lines below these.
std::vector<std::string> ShallowLines(const std::string& text, std::size_t maxIndent) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(' ') <= maxIndent) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Runs the real binary, as a user would.
TEST(TreeCommandGoldenTest, RealBinaryPrintsTheExampleTree) {
    const std::string command = std::string(TAMSK_CLI_BINARY) + " tree '" + ShapesProject() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, read);
    }
    const int status = pclose(pipe);
    ASSERT_NE(WIFEXITED(status), 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(out, RunTamskCli({"tree", ShapesProject()}).out);
    const std::string expected =
        ReadWhole(ExamplesFolder() + "/shapes/expected/tree-without-scan.txt");
    EXPECT_EQ(ShallowLines(out, 2), ShallowLines(expected, 2));
}

}  // namespace
