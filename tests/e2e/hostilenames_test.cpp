// Hostile names through the real tamsk-cli: names that climb with "..",
// absolute names, bytes that are not UTF-8, and paths longer than the
// platform's limit. Whatever the names, the copy writes below its
// destination only and the sources stay byte-identical.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/e2e/hostilefixture.h"

TEST_F(HostileProjectTest, NamesAboveTheProjectFolderAreCopiedBelowTheDestination) {
    temp_.Write("outer/shared/common.c", "int common;\n");
    temp_.Write("top.c", "int top;\n");
    WriteSource("main.c", "#include \"..\\shared\\common.c\"\n#include \"../../top.c\"\n");
    WriteProjectWithItems({"main.c", "..\\shared\\common.c", "sub\\..\\..\\..\\top.c"});
    Remember();

    const clirun::Result tree = Cli({"tree", ProjectFile()});
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_TRUE(HasLine(tree.out, "   ..\\shared\\common.c")) << tree.out;

    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()});
    EXPECT_EQ(copy.exitCode, 0) << copy.out << copy.err;
    // Rooted at the deepest folder that holds them all: the temporary folder.
    EXPECT_EQ(ReadWhole(Dest() + "/outer/proj/main.c"), ReadWhole(Proj("main.c")));
    EXPECT_EQ(ReadWhole(Dest() + "/outer/shared/common.c"), "int common;\n");
    EXPECT_EQ(ReadWhole(Dest() + "/top.c"), "int top;\n");
    EXPECT_EQ(ChangesBesides({"dest"}), "");
}

TEST_F(HostileProjectTest, NamesClimbingAboveTheRootStayBelowTheDestination) {
    std::string climb;
    for (int i = 0; i < 40; ++i) {
        climb += "..\\";
    }
    WriteSource("main.c", "#include \"" + climb + "etc\\hostname\"\n");
    WriteProjectWithItems({"main.c", climb + "tamsk-no-such-file.c", climb + "etc\\hostname"});
    Remember();

    // The copy is rooted at "/", which holds them all; a missing file is not
    // listed and gets no row.
    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()});
    EXPECT_EQ(copy.exitCode, 0) << copy.out << copy.err;
    EXPECT_EQ(RowResult(copy.out, climb + "etc\\hostname"), "copied") << copy.out;
    EXPECT_EQ(RowResult(copy.out, climb + "tamsk-no-such-file.c"), "<no row>");
    EXPECT_EQ(ReadWhole(Dest() + "/etc/hostname"), ReadWhole("/etc/hostname"));
    EXPECT_EQ(ReadWhole(Dest() + Proj("main.c")), ReadWhole(Proj("main.c")));
    EXPECT_EQ(ChangesBesides({"dest"}), "");
}

TEST_F(HostileProjectTest, AbsoluteNamesAreShownButNeverCopied) {
    WriteSource("main.c", "#include \"/etc/hostname\"\n#include <C:\\watcom\\h\\stdio.h>\n");
    WriteProjectWithItems(
        {"main.c", "C:\\Windows\\win.ini", "/etc/hostname", "\\\\server\\share\\x.c", "\\x.c"});
    Remember();

    const clirun::Result tree = Cli({"tree", ProjectFile()});
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_TRUE(HasLine(tree.out, "   C:\\Windows\\win.ini")) << tree.out;

    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()});
    // They are not found relative to the project folder, so they are never
    // listed and never reach the copy.
    EXPECT_EQ(copy.exitCode, 0) << copy.out << copy.err;
    EXPECT_EQ(copy.out.find("hostname"), std::string::npos) << copy.out;
    EXPECT_EQ(copy.out.find("win.ini"), std::string::npos) << copy.out;
    EXPECT_EQ(ReadWhole(Dest() + "/main.c"), ReadWhole(Proj("main.c")));
    EXPECT_EQ(ReadWhole(Dest() + "/etc/hostname"), "<missing>");
    EXPECT_EQ(ChangesBesides({"dest"}), "");
}

TEST_F(HostileProjectTest, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string latin1 = "caf\xe9.c";
    const std::string broken = "\xc3\x28\xff.h";
    WriteSource(latin1, "#include \"" + broken + "\"\n");
    WriteSource(broken, "int x;\n");
    WriteProjectWithItems({latin1, "\xfe\xfe.c"});
    Remember();

    const clirun::Result tree = Cli({"tree", ProjectFile()});
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_TRUE(HasLine(tree.out, "   " + latin1)) << tree.out;
    EXPECT_TRUE(HasLine(tree.out, "    " + broken)) << tree.out;

    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()});
    EXPECT_EQ(copy.exitCode, 0) << copy.out << copy.err;
    EXPECT_EQ(ReadWhole(Dest() + "/" + latin1), ReadWhole(Proj(latin1)));
    EXPECT_EQ(ReadWhole(Dest() + "/" + broken), "int x;\n");
    EXPECT_EQ(ChangesBesides({"dest"}), "");
}

// Folders nested past PATH_MAX, made one level at a time through descriptors.
class LongPathTest : public HostileProjectTest {
protected:
    static constexpr int kLevels = 24;
    const std::string component_ = std::string(200, 'd');

    ~LongPathTest() override {
        const int proj = open(Proj().c_str(), O_RDONLY | O_DIRECTORY);
        treesnapshot::RemoveTree(proj, "deep");
        close(proj);
        const int temp = open(temp_.path().c_str(), O_RDONLY | O_DIRECTORY);
        treesnapshot::RemoveTree(temp, "dest");
        close(temp);
    }

    // proj/deep/ddd.../ddd.../x.h; returns the name relative to the project folder.
    std::string MakeDeepHeader() const {
        int folder = open(Proj().c_str(), O_RDONLY | O_DIRECTORY);
        std::string relative = "deep";
        mkdirat(folder, "deep", 0755);
        int next = openat(folder, "deep", O_RDONLY | O_DIRECTORY);
        close(folder);
        folder = next;
        for (int i = 0; i < kLevels; ++i) {
            mkdirat(folder, component_.c_str(), 0755);
            next = openat(folder, component_.c_str(), O_RDONLY | O_DIRECTORY);
            close(folder);
            folder = next;
            relative += "\\" + component_;
        }
        const int file = openat(folder, "x.h", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_EQ(write(file, "int deep;\n", 10), 10);
        close(file);
        close(folder);
        return relative + "\\x.h";
    }
};

TEST_F(LongPathTest, PathsLongerThanTheLimitEndCleanly) {
    const std::string deep = MakeDeepHeader();
    ASSERT_GT(Proj().size() + deep.size(), 4096u);
    WriteSource("main.c", "#include \"" + deep + "\"\n");
    WriteProjectWithItems({"main.c", deep});
    Remember();

    const clirun::Result tree = Cli({"tree", ProjectFile()});
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_TRUE(HasLine(tree.out, "   " + deep)) << tree.out.substr(0, 500);

    // The file cannot be opened by its path, so it is not listed; were it
    // listed, its row would say copied or failed and the exit code agree.
    const clirun::Result copy = Cli({"copy", ProjectFile(), Dest()});
    const std::string deepResult = RowResult(copy.out, deep);
    EXPECT_NE(deepResult, "") << copy.out;
    EXPECT_EQ(copy.exitCode, deepResult == "failed" ? 1 : 0) << copy.out << copy.err;
    EXPECT_EQ(RowResult(copy.out, "main.c"), "copied");
    EXPECT_EQ(ChangesBesides({"dest"}), "");

    // A project path past the limit is an unreadable project file.
    const clirun::Result longProject = Cli({"tree", Proj(deep + "\\..\\p.wpj")});
    EXPECT_EQ(longProject.exitCode, 2) << longProject.err;
    EXPECT_EQ(ChangesBesides({"dest"}), "");
}
