#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/runcli.h"
#include "tests/support/tempdir.h"

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tamsk-cli in-process with WATCOM unset, so that the compiler folder
// expands to nothing as the expected files assume.
CliRun Cli(const std::vector<std::string>& args) {
    unsetenv("WATCOM");
    std::vector<std::string> full = {"tamsk-cli"};
    full.insert(full.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.exitCode = RunCli(full, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The example copied into dir (shapes/ and the common/ folder beside it), so
// that the export writes nowhere in the source tree.
std::string CopyOfExample(const TempDir& dir) {
    const fs::path examples(ExamplesFolder());
    fs::copy(examples / "shapes", fs::path(dir.Join("shapes")), fs::copy_options::recursive);
    fs::copy(examples / "common", fs::path(dir.Join("common")), fs::copy_options::recursive);
    return dir.Join("shapes/shapes.wpj");
}

std::string Expected(const std::string& name) {
    return ReadWhole(ExamplesFolder() + "/shapes/expected/" + name);
}

TEST(ExportCommand, ExampleDependencyFileMatchesTheHandWrittenOne) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);

    const CliRun run = Cli({"export", project, "--parse-literals"});

    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, dir.Join("shapes/shapes_dep.Txt") + "\n");
    EXPECT_EQ(ReadWhole(dir.Join("shapes/shapes_dep.Txt")), Expected("shapes_dep.Txt"));
}

TEST(ExportCommand, ExportingAgainReplacesTheFileWithTheSameContent) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);
    dir.Write("shapes/shapes_dep.Txt", std::string(100000, 'x'));

    EXPECT_EQ(Cli({"export", project, "--parse-literals"}).exitCode, 0);
    EXPECT_EQ(Cli({"export", project, "--parse-literals"}).exitCode, 0);

    EXPECT_EQ(ReadWhole(dir.Join("shapes/shapes_dep.Txt")), Expected("shapes_dep.Txt"));
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.Join("shapes"))) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 5u) << "the project, three target files and the dependency file";
}

TEST(ExportCommand, WithoutLiteralsTheLiteralNodesAreMissing) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);

    EXPECT_EQ(Cli({"export", project}).exitCode, 0);

    std::string expected = Expected("shapes_tree.txt");
    std::string crlf;
    for (char c : expected) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(ReadWhole(dir.Join("shapes/shapes_dep.Txt")), crlf);
}

TEST(ExportCommand, UnreadableProjectCreatesNothing) {
    TempDir dir;
    const CliRun run = Cli({"export", dir.Join("none.wpj")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(ReadWhole(dir.Join("none_dep.Txt")), "<missing>");
}

TEST(ExportCommand, UnwritableDependencyFileIsReported) {
    TempDir dir;
    const std::string project = CopyOfExample(dir);
    fs::create_directory(dir.Join("shapes/shapes_dep.Txt"));  // a folder in the file's place

    const CliRun run = Cli({"export", project});

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

// The real binary on the example where it stands, as a user would run it.
TEST(TreeCommand, ExampleTreeMatchesTheHandWrittenOne) {
    const std::string command = std::string("env -u WATCOM '") + TAMSK_CLI_BINARY + "' tree '" +
                                ExamplesFolder() + "/shapes/shapes.wpj'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(out, Expected("shapes_tree.txt"));
}

}  // namespace
