// Copies and exports onto destinations that refuse them: a read-only folder, the project folder
// itself, a file where a folder should be, a path under /proc, and a disk that fills up half-way
// (simulated with RLIMIT_FSIZE). Each run says "failed" where it failed, exits 1, leaves every
// source and every old destination file as it was, and leaves no partial file behind.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/e2e/hostilefixture.h"

struct RefusedCopy {
    const char* name;
    const char* destination;  // below the temporary folder unless absolute
    bool asNobody = false;
};

// A project of a source, its header and a file of 1 MB.
class FullDiskTest : public HostileFixture {
protected:
    FullDiskTest() {
        WriteSource("main.c", "#include \"main.h\"\nint main(void) { return 0; }\n");
        WriteSource("main.h", "#define X 1\n");
        WriteSource("big.c", std::string(1 << 20, 'b'));
        WriteProjectWithItems({"main.c", "big.c"});
    }
};

class HostileCopyTest : public FullDiskTest, public ::testing::WithParamInterface<RefusedCopy> {};

TEST_P(HostileCopyTest, EveryRowFailsAndNothingIsTouched) {
    chmod(temp_.MakeFolder("readonly").c_str(), 0555);
    temp_.Write("blocker", "not a folder\n");
    ASSERT_EQ(symlink(Proj().c_str(), temp_.Join("link").c_str()), 0);
    mayChange_ = {"run", "outer/proj/sub"};  // a destination below the project folder is made
    const std::string destination = GetParam().destination;

    const CliRun copy = Cli({"copy", ProjectFile(),
                             destination.starts_with('/') ? destination : temp_.Join(destination)},
                            {.asNobody = GetParam().asNobody});
    if (copy.exitCode == 126) {
        GTEST_SKIP() << "cannot run tamsk-cli without root's rights here";
    }
    EXPECT_EQ(copy.exitCode, 1) << copy.out << copy.err;
    for (const char* name : {"p.wpj", "t.tgt", "main.c", "main.h", "big.c"}) {
        EXPECT_EQ(RowResult(copy.out, name), "failed") << name << "\n" << copy.out;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, HostileCopyTest,
    ::testing::Values(RefusedCopy{"ReadOnlyFolder", "readonly", true},
                      RefusedCopy{"ProjectFolder", "outer/proj"},
                      RefusedCopy{"ProjectFolderWithSlash", "outer/proj/"},
                      RefusedCopy{"ProjectFolderRoundabout", "outer/../outer/proj"},
                      RefusedCopy{"ProjectFolderThroughSub", "outer/proj/sub/.."},
                      RefusedCopy{"LinkToTheProjectFolder", "link"},
                      RefusedCopy{"AFile", "blocker"}, RefusedCopy{"BelowAFile", "blocker/below"},
                      RefusedCopy{"UnderProc", "/proc/self/tamsk"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(FullDiskTest, ACopyKeepsOldFilesWholeAndLeavesNoPartFile) {
    temp_.Write("dest/big.c", "the old big.c\n");
    const CliRun copy = Copy({}, {.fileSizeLimit = 64 << 10});
    EXPECT_EQ(copy.exitCode, 1) << copy.out << copy.err;
    EXPECT_EQ(RowResult(copy.out, "big.c"), "failed") << copy.out;
    EXPECT_EQ(RowResult(copy.out, "main.c"), "copied") << copy.out;
    EXPECT_EQ(ReadWhole(Dest("big.c")), "the old big.c\n");
    EXPECT_EQ(ReadWhole(Dest("main.c")), ReadWhole(Proj("main.c")));
    // Exactly the copied files and the old one: no temporary file is left.
    std::string names;
    for (const auto& [name, entry] : treesnapshot::Take(Dest())) {
        names += name + " ";
    }
    EXPECT_EQ(names, "big.c main.c main.h p.wpj t.tgt ");
}

TEST_F(FullDiskTest, AnExportKeepsTheOldDependencyFile) {
    projectwriter::TargetLayout layout;
    for (int i = 0; i < 2000; ++i) {
        layout.items.push_back("missing" + std::to_string(i) + ".c");
    }
    WriteProject(layout);
    WriteSource("p_dep.Txt", "the old dependency file\n");

    const CliRun exported = Cli({"export", ProjectFile()}, {.fileSizeLimit = 8 << 10});
    EXPECT_EQ(exported.exitCode, 1) << exported.out << exported.err;
    EXPECT_NE(exported.err.find("cannot write"), std::string::npos) << exported.err;
    EXPECT_EQ(Changes(), "");  // destination included

    mayChange_ = {"run", "outer/proj/p_dep.Txt"};
    EXPECT_EQ(Cli({"export", ProjectFile()}).exitCode, 0);
}
