#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/clihelpers_test.h"

namespace {

using Args = std::vector<std::string>;

TEST(TreeCommand, InProcessAndRealBinaryPrintTheHandWrittenTree) {
    const CliRun inProcess = Cli({"tree", ShapesProject()});
    EXPECT_EQ(inProcess.exitCode, 0);
    EXPECT_EQ(inProcess.err, "");
    EXPECT_EQ(inProcess.out, Expected("shapes_tree.txt"));
    const CliRun real = RealCli("tree '" + ShapesProject() + "'");
    EXPECT_EQ(real.exitCode, 0);
    EXPECT_EQ(real.out, Expected("shapes_tree.txt"));

    TempDir dir;
    const CliRun empty = Cli({"tree", dir.Write("empty.wpj", "40\r\nprojectIdent\r\n0\r\n")});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "Project: empty [empty.wpj]\n");
}

TEST(TreeCommand, UnreadableProjectIsOneLineOnErrorExitTwoAndWritesNothing) {
    TempDir dir;
    const std::string missing = dir.Join("none.wpj");
    const struct {
        Args args;
        std::string project;
    } rows[] = {
        {{"tree", missing}, missing},
        {{"tree", dir.path()}, dir.path()},
        {{"export", missing}, missing},
        {{"copy", missing, dir.Join("out")}, missing},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.front() + " " + row.project);
        const CliRun run = Cli(row.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
        EXPECT_NE(run.err.find(row.project), std::string::npos) << run.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

TEST(TreeCommand, HelpAndVersionExitZeroAndBadUsageExitsTwo) {
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("tree"), std::string::npos);
    const CliRun treeHelp = Cli({"tree", "--help"});
    EXPECT_EQ(treeHelp.exitCode, 0);
    EXPECT_NE(treeHelp.out.find("PROJECT"), std::string::npos);
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("tamsk-cli ", 0), 0u);
    for (const Args& args : {Args{}, Args{"tree"}, Args{"trees", "a.wpj"},
                             Args{"tree", "a.wpj", "b.wpj"}, Args{"tree", "--no-such", "a.wpj"}}) {
        SCOPED_TRACE(args.empty() ? "(none)" : args.back());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

}  // namespace
