#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
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

CliRun Cli(const std::vector<std::string>& args) {
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

struct Row {
    std::string name;
    std::string folder;
    std::string result;
};

std::vector<Row> Rows(const std::string& out) {
    std::vector<Row> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        rows.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                        line.substr(second + 1)});
    }
    return rows;
}

std::string HostName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::set<std::string> FilesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) {
            files.insert(fs::relative(entry.path(), root).generic_string());
        }
    }
    return files;
}

fs::path ShapesProject() {
    const fs::path folder = fs::path(ExamplesFolder()) / "shapes";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".wpj") {
            return fs::absolute(entry.path());
        }
    }
    return {};
}

// The example lists a file in a folder beside its own, so the copy is rooted
// at examples/ and the project lands in shapes/ below the destination.
TEST(CopyCommandTest, ExampleProjectIsCopiedWholeAndLoadsTheSameFromItsNewPlace) {
    const fs::path project = ShapesProject();
    ASSERT_FALSE(project.empty()) << "no project file in " << ExamplesFolder() << "/shapes";
    const fs::path projectFolder = project.parent_path();
    TempDir temp;
    const fs::path destination = temp.Join("out");

    const CliRun copy = Cli({"copy", project.string(), destination.string()});

    EXPECT_EQ(copy.exitCode, 0) << copy.err;
    const std::vector<Row> rows = Rows(copy.out);
    ASSERT_GE(rows.size(), 3u);
    std::set<std::string> expectedFiles;
    bool reachesBeside = false;
    for (const Row& row : rows) {
        const fs::path relative = (fs::path("shapes") / HostName(row.name)).lexically_normal();
        const fs::path copied = destination / relative;
        EXPECT_EQ(row.result, "copied") << row.name;
        EXPECT_EQ(row.folder, copied.parent_path().string()) << row.name;
        EXPECT_EQ(ReadWhole(copied.string()),
                  ReadWhole((projectFolder / HostName(row.name)).string()))
            << row.name;
        expectedFiles.insert(relative.generic_string());
        reachesBeside = reachesBeside || row.name.rfind("..\\", 0) == 0;
    }
    EXPECT_EQ(reachesBeside, true) << "the example should list a file beside its folder";
    EXPECT_EQ(FilesBelow(destination), expectedFiles);

    const CliRun original = Cli({"tree", project.string()});
    const CliRun moved = Cli({"tree", (destination / "shapes" / project.filename()).string()});
    EXPECT_EQ(original.exitCode, 0);
    EXPECT_EQ(moved.out, original.out);
}

TEST(CopyCommandTest, FailedRowGivesExitOne) {
    TempDir temp;
    const std::string project = temp.Write(
        "p/demo.wpj", "VComponent\n1\n2\n3\n4\n5\n6\n7\n8\n9\nWFileName\n11\nmissing.tgt\n");
    const std::string destination = temp.Join("out");

    const CliRun copy = Cli({"copy", project, destination});

    EXPECT_EQ(copy.exitCode, 1);
    EXPECT_EQ(copy.out,
              "demo.wpj\t" + destination + "\tcopied\nmissing.tgt\t" + destination + "\tfailed\n");
    EXPECT_EQ(ReadWhole(temp.Join("out/demo.wpj")), ReadWhole(project));
}

TEST(CopyCommandTest, UnreadableProjectGivesExitTwoAndNoRows) {
    TempDir temp;
    const CliRun copy = Cli({"copy", temp.Join("none.wpj"), temp.Join("out")});
    EXPECT_EQ(copy.exitCode, 2);
    EXPECT_EQ(copy.out, "");
    EXPECT_EQ(fs::exists(temp.Join("out")), false);
}

}  // namespace
