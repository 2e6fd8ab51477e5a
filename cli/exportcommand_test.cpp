#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/clihelpers_test.h"

namespace {

TEST(ExportCommand, RealBinaryReplacesTheFileWithTheHandWrittenDependencies) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);
    dir.Write("shapes/shapes_dep.Txt", std::string(100000, 'x'));

    const CliRun run = RealCli("export '" + project + "' --parse-literals");

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, dir.Join("shapes/shapes_dep.Txt") + "\n");
    EXPECT_EQ(ReadWhole(dir.Join("shapes/shapes_dep.Txt")), Expected("shapes_dep.Txt"));
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Join("shapes"))) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 5u) << "the project, three target files and the dependency file";
}

TEST(ExportCommand, WithoutLiteralsTheFileIsTheTreeInCrLfLines) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);

    EXPECT_EQ(Cli({"export", project}).exitCode, 0);

    std::string crlf;
    for (char c : Expected("shapes_tree.txt")) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(ReadWhole(dir.Join("shapes/shapes_dep.Txt")), crlf);
}

TEST(ExportCommand, UnwritableDependencyFileIsReportedWithExitOne) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);
    std::filesystem::create_directory(dir.Join("shapes/shapes_dep.Txt"));  // a folder in its place

    const CliRun run = Cli({"export", project});

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

}  // namespace
