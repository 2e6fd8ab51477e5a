#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "cli/clihelpers_test.h"

namespace {

namespace fs = std::filesystem;

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

// The example lists a file in a folder beside its own, so the copy is rooted at examples/ and
// the project lands in shapes/ below the destination.
TEST(CopyCommand, ExampleIsCopiedWholeAndLoadsTheSameFromItsNewPlace) {
    const fs::path project = ShapesProject();
    TempDir temp;
    const fs::path destination = temp.Join("out");

    const CliRun copy = Cli({"copy", project.string(), destination.string()});

    EXPECT_EQ(copy.exitCode, 0) << copy.err;
    std::set<std::string> listed;
    bool reachesBeside = false;
    std::istringstream rows(copy.out);
    for (std::string row; std::getline(rows, row);) {
        SCOPED_TRACE(row);
        const std::size_t first = row.find('\t');
        const std::size_t second = row.find('\t', first + 1);
        const std::string name = HostName(row.substr(0, first));
        const fs::path relative = (fs::path("shapes") / name).lexically_normal();
        EXPECT_EQ(row.substr(first + 1, second - first - 1),
                  (destination / relative).parent_path().generic_string());
        EXPECT_EQ(row.substr(second + 1), "copied");
        EXPECT_EQ(ReadWhole((destination / relative).string()),
                  ReadWhole((project.parent_path() / name).string()));
        listed.insert(relative.generic_string());
        reachesBeside = reachesBeside || name.rfind("../", 0) == 0;
    }
    EXPECT_GE(listed.size(), 3u);
    EXPECT_EQ(reachesBeside, true) << "the example should list a file beside its folder";
    EXPECT_EQ(FilesBelow(destination), listed);
    const CliRun moved = Cli({"tree", (destination / "shapes" / project.filename()).string()});
    EXPECT_EQ(moved.exitCode, 0);
    EXPECT_EQ(moved.out, Cli({"tree", project.string()}).out);
}

TEST(CopyCommand, FailedRowGivesExitOne) {
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

}  // namespace
