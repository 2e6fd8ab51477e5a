// Copies and exports onto destinations that refuse them: a read-only folder,
// the project folder itself, a file where a folder should be, a path under
// /proc, and a disk that fills up half-way (simulated with RLIMIT_FSIZE).
// Each run says "failed" where it failed, exits 1, leaves every source and
// every old destination file as it was, and leaves no partial file behind.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/e2e/hostilefixture.h"

namespace {

constexpr uid_t kNobody = 65534;

}  // namespace

class HostileCopyTest : public HostileProjectTest {
protected:
    HostileCopyTest() {
        WriteSource("main.c", "#include \"main.h\"\nint main(void) { return 0; }\n");
        WriteSource("main.h", "#define X 1\n");
        WriteSource("big.c", std::string(1 << 20, 'b'));
        WriteProjectWithItems({"main.c", "big.c"});
    }

    void ExpectEveryRow(const clirun::Result& run, std::string_view result) const {
        for (const char* name : {"p.wpj", "t.tgt", "main.c", "main.h", "big.c"}) {
            EXPECT_EQ(RowResult(run.out, name), result) << name << "\n" << run.out;
        }
    }
};

TEST_F(HostileCopyTest, IntoAReadOnlyFolderEveryRowFails) {
    temp_.MakeFolder("dest");
    ASSERT_EQ(chmod(Dest().c_str(), 0555), 0);
    OpenToEveryone();
    clirun::Options options;
    if (geteuid() == 0) {
        options.user = kNobody;  // root writes anywhere; nobody meets the mode
        options.group = kNobody;
    }
    Remember();

    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()}, options);
    if (copy.exitCode == 126) {
        GTEST_SKIP() << "cannot run tamsk-cli without root's rights here";
    }
    EXPECT_EQ(copy.exitCode, 1) << copy.out << copy.err;
    ExpectEveryRow(copy, "failed");
    EXPECT_EQ(Changes(), "");
}

TEST_F(HostileCopyTest, IntoTheProjectFolderItselfNothingIsTouched) {
    Remember();
    for (const std::string& destination :
         {Proj(), Proj() + "/", temp_.Join("outer/../outer/proj"), Proj("sub/..")}) {
        const clirun::Result copy = Cli({"copy", ProjectFile(), destination});
        EXPECT_EQ(copy.exitCode, 1) << destination << "\n" << copy.out << copy.err;
        ExpectEveryRow(copy, "failed");
        EXPECT_EQ(ChangesBesides({"outer/proj/sub"}), "") << destination;
    }
}

TEST_F(HostileCopyTest, ThroughALinkBackToTheProjectFolderNothingIsTouched) {
    ASSERT_EQ(symlink(Proj().c_str(), temp_.Join("link").c_str()), 0);
    Remember();

    const clirun::Result copy = Cli({"copy", ProjectFile(), temp_.Join("link")});
    EXPECT_EQ(copy.exitCode, 1) << copy.out << copy.err;
    ExpectEveryRow(copy, "failed");
    EXPECT_EQ(Changes(), "");
}

TEST_F(HostileCopyTest, OntoDestinationsThatCannotHoldFoldersEveryRowFails) {
    temp_.Write("blocker", "not a folder\n");
    Remember();
    for (const std::string& destination :
         {temp_.Join("blocker"), temp_.Join("blocker/below"), std::string("/proc/self/tamsk")}) {
        const clirun::Result copy = Cli({"copy", ProjectFile(), destination});
        EXPECT_EQ(copy.exitCode, 1) << destination << "\n" << copy.out << copy.err;
        ExpectEveryRow(copy, "failed");
        EXPECT_EQ(Changes(), "") << destination;
    }
}

TEST_F(HostileCopyTest, OntoAFullDiskOldFilesStayWholeAndNoPartFileIsLeft) {
    temp_.Write("dest/big.c", "the old big.c\n");
    Remember();

    clirun::Options options;
    options.fileSizeLimit = 64 << 10;  // every write past 64 KB fails, as on a full disk
    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()}, options);
    EXPECT_EQ(copy.exitCode, 1) << copy.out << copy.err;
    EXPECT_EQ(RowResult(copy.out, "big.c"), "failed") << copy.out;
    EXPECT_EQ(RowResult(copy.out, "main.c"), "copied") << copy.out;
    EXPECT_EQ(ReadWhole(Dest() + "/big.c"), "the old big.c\n");
    EXPECT_EQ(ReadWhole(Dest() + "/main.c"), ReadWhole(Proj("main.c")));
    // Exactly the copied files and the old one: no temporary file is left.
    const auto written = treesnapshot::Take(Dest());
    std::string names;
    for (const auto& [name, entry] : written) {
        names += name + " ";
    }
    EXPECT_EQ(names, "big.c main.c main.h p.wpj t.tgt ");
    EXPECT_EQ(ChangesBesides({"dest"}), "");
}

TEST_F(HostileCopyTest, AnExportOntoAFullDiskKeepsTheOldDependencyFile) {
    projectwriter::TargetSpec layout;
    for (int i = 0; i < 2000; ++i) {
        layout.items.push_back("missing" + std::to_string(i) + ".c");
    }
    WriteProject(layout);
    WriteSource("p_dep.Txt", "the old dependency file\n");
    Remember();

    clirun::Options options;
    options.fileSizeLimit = 8 << 10;
    const clirun::Result exported = Cli({"export", ProjectFile()}, options);
    EXPECT_EQ(exported.exitCode, 1) << exported.out << exported.err;
    EXPECT_NE(exported.err.find("cannot write"), std::string::npos) << exported.err;
    EXPECT_EQ(ReadWhole(Proj("p_dep.Txt")), "the old dependency file\n");
    EXPECT_EQ(Changes(), "");

    const clirun::Result again = Cli({"export", ProjectFile()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ChangesBesides({"outer/proj/p_dep.Txt"}), "");
}
