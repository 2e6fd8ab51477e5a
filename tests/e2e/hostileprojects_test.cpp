// Hostile sources and names through the real tamsk-cli: FIFOs, devices and binary files named as
// sources, unreadable files and folders, names that climb with "..", absolute names, bytes that
// are not UTF-8, and paths longer than the platform's limit. Each project is shown as a tree and
// copied; whatever it holds, the copy writes below its destination only and the sources stay
// byte-identical (checked by the fixture).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/hostilefixture.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct ProjectCase {
    std::string name{};
    Pairs files{};  // path below the temporary folder, bytes
    std::vector<std::string> items{};
    void (*prepare)(const TempDir&) = nullptr;  // FIFOs, devices, modes
    std::vector<std::string> args{};            // extra switches of both runs
    bool asNobody = false;
    std::vector<std::string> treeLines{};  // lines the tree shows
    std::vector<std::string> notInTree{};
    Pairs rows{};    // copy row's file name, its result or "<no row>"
    Pairs copied{};  // path below the destination, its source (absolute or below the temporary
                     // folder; empty: nothing may be there)
};

void PrintTo(const ProjectCase& c, std::ostream* os) {
    *os << c.name;
}

void MakeFifosAndDeviceLinks(const TempDir& temp) {
    EXPECT_EQ(mkfifo(temp.Join("outer/proj/pipe.c").c_str(), 0644), 0);
    EXPECT_EQ(mkfifo(temp.Join("outer/proj/pipe.h").c_str(), 0644), 0);
    EXPECT_EQ(symlink("/dev/zero", temp.Join("outer/proj/zero.c").c_str()), 0);
    EXPECT_EQ(symlink("/dev/urandom", temp.Join("outer/proj/random.h").c_str()), 0);
}

// Deterministic bytes of every value, NUL, CR, 0x1A and quotes included.
void WriteNoise(const TempDir& temp) {
    std::string bytes(4 << 20, '\0');
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    temp.Write("outer/proj/blob.c", bytes);
    temp.Write("outer/proj/blob.rc", bytes.substr(0, 1 << 20));
}

void LockSecrets(const TempDir& temp) {
    EXPECT_EQ(chmod(temp.Join("outer/proj/secret.c").c_str(), 0), 0);
    EXPECT_EQ(chmod(temp.Join("outer/proj/locked").c_str(), 0), 0);
    chmod(temp.MakeFolder("dest").c_str(), 0777);
}

std::vector<ProjectCase> Cases() {
    std::string climb;
    for (int i = 0; i < 40; ++i) {
        climb += "..\\";
    }
    const std::string latin1 = "caf\xe9.c";
    const std::string broken = "\xc3\x28\xff.h";
    const std::string main = "outer/proj/main.c";
    return {
        // Nodes are shown, nothing is opened; only files that could be read are listed, so only
        // they are copied.
        {.name = "FifoAndDevicesAreListedButNeverOpened",
         .files = {{main, "#include \"pipe.h\"\n#include \"random.h\"\n#include \"zero.c\"\n"}},
         .items = {"pipe.c", "zero.c", "main.c"},
         .prepare = MakeFifosAndDeviceLinks,
         .args = {"--parse-literals"},
         .treeLines = {"   pipe.c", "   zero.c", "    pipe.h"},
         .rows = {{"pipe.c", "<no row>"}, {"zero.c", "<no row>"}, {"main.c", "copied"}},
         .copied = {{"main.c", main}, {"pipe.c", ""}}},
        {.name = "BinaryFilesAreScannedAndCopiedWhole",
         .items = {"blob.c", "blob.rc"},
         .prepare = WriteNoise,
         .args = {"--parse-literals"},
         .treeLines = {"   blob.c"},
         .copied = {{"blob.c", "outer/proj/blob.c"}, {"blob.rc", "outer/proj/blob.rc"}}},
        // Never read, so never scanned, listed or copied.
        {.name = "UnreadableFilesAndFoldersAreSkipped",
         .files = {{"outer/proj/secret.c", "#include \"main.h\"\n"},
                   {"outer/proj/locked/a.h", ""},
                   {main, "#include \"locked\\a.h\"\n#include \"secret.c\"\n"},
                   {"outer/proj/main.h", ""}},
         .items = {"secret.c", "main.c", "locked\\a.h"},
         .prepare = LockSecrets,
         .asNobody = true,
         .treeLines = {"   secret.c"},
         .notInTree = {"    main.h"},
         .rows = {{"secret.c", "<no row>"}, {"main.c", "copied"}},
         .copied = {{"secret.c", ""}}},
        // Rooted at the deepest folder that holds them all: the temporary folder.
        {.name = "NamesAboveTheProjectFolder",
         .files = {{"outer/shared/common.c", "int common;\n"},
                   {"top.c", "int top;\n"},
                   {main, "#include \"..\\shared\\common.c\"\n#include \"../../top.c\"\n"}},
         .items = {"main.c", "..\\shared\\common.c", "sub\\..\\..\\..\\top.c"},
         .treeLines = {"   ..\\shared\\common.c"},
         .copied = {{main, main},
                    {"outer/shared/common.c", "outer/shared/common.c"},
                    {"top.c", "top.c"}}},
        // Rooted at "/"; a missing file is not listed and gets no row.
        {.name = "NamesClimbingAboveTheRoot",
         .files = {{main, "#include \"" + climb + "etc\\hostname\"\n"}},
         .items = {"main.c", climb + "tamsk-no-such-file.c", climb + "etc\\hostname"},
         .rows = {{climb + "etc\\hostname", "copied"},
                  {climb + "tamsk-no-such-file.c", "<no row>"},
                  {"main.c", "copied"}},
         .copied = {{"etc/hostname", "/etc/hostname"}}},
        // Not found relative to the project folder, so never listed and never copied.
        {.name = "AbsoluteNamesAreShownButNeverCopied",
         .files = {{main, "#include \"/etc/hostname\"\n#include <C:\\watcom\\h\\stdio.h>\n"}},
         .items = {"main.c", "C:\\Windows\\win.ini", "/etc/hostname", "\\\\server\\share\\x.c",
                   "\\x.c"},
         .treeLines = {"   C:\\Windows\\win.ini", "   /etc/hostname"},
         .rows = {{"/etc/hostname", "<no row>"}, {"C:\\Windows\\win.ini", "<no row>"}},
         .copied = {{"main.c", main}, {"etc/hostname", ""}}},
        {.name = "NamesThatAreNotUtf8KeepTheirBytes",
         .files = {{"outer/proj/" + latin1, "#include \"" + broken + "\"\n"},
                   {"outer/proj/" + broken, "int x;\n"}},
         .items = {latin1, "\xfe\xfe.c"},
         .treeLines = {"   " + latin1, "    " + broken},
         .copied = {{latin1, "outer/proj/" + latin1}, {broken, "outer/proj/" + broken}}},
    };
}

}  // namespace

class HostileProjectTest : public HostileFixture,
                           public ::testing::WithParamInterface<ProjectCase> {};

TEST_P(HostileProjectTest, EndsCleanlyAndCopiesBelowTheDestinationOnly) {
    const ProjectCase& c = GetParam();
    for (const auto& [path, bytes] : c.files) {
        temp_.Write(path, bytes);
    }
    WriteProjectWithItems(c.items);
    if (c.prepare != nullptr) {
        c.prepare(temp_);
    }
    const RunOptions options{.asNobody = c.asNobody};

    const CliRun tree = Tree(c.args, options);
    if (tree.exitCode == 126) {
        GTEST_SKIP() << "cannot run tamsk-cli without root's rights here";
    }
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    for (const std::string& line : c.treeLines) {
        EXPECT_TRUE(HasLine(tree.out, line)) << line << "\n" << tree.out.substr(0, 2000);
    }
    for (const std::string& line : c.notInTree) {
        EXPECT_FALSE(HasLine(tree.out, line)) << line << "\n" << tree.out.substr(0, 2000);
    }

    const CliRun copy = Copy(c.args, options);
    EXPECT_EQ(copy.exitCode, 0) << copy.out << copy.err;
    for (const auto& [name, result] : c.rows) {
        EXPECT_EQ(RowResult(copy.out, name), result) << name << "\n" << copy.out;
    }
    for (const auto& [below, source] : c.copied) {
        const std::string expected = source.empty()            ? "<missing>"
                                     : source.starts_with('/') ? ReadWhole(source)
                                                               : ReadWhole(temp_.Join(source));
        EXPECT_EQ(ReadWhole(Dest(below)), expected) << below;
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileProjectTest, ::testing::ValuesIn(Cases()),
                         [](const auto& test) { return test.param.name; });

using LongPathTest = HostileFixture;

TEST_F(LongPathTest, PathsLongerThanTheLimitEndCleanly) {
    // deep\ddd...\ddd...\x.h, 24 names of 200 characters: a link back to its own folder makes
    // the name reach a real file, as a tree of real folders would.
    const std::string component(200, 'd');
    WriteSource("deep/x.h", "int deep;\n");
    ASSERT_EQ(symlink(".", Proj("deep/" + component).c_str()), 0);
    std::string deep = "deep";
    for (int level = 0; level < 24; ++level) {
        deep += "\\" + component;
    }
    deep += "\\x.h";
    ASSERT_GT(Proj().size() + deep.size(), 4096u);
    WriteSource("main.c", "#include \"" + deep + "\"\n");
    WriteProjectWithItems({"main.c", deep});

    const CliRun tree = Tree();
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_TRUE(HasLine(tree.out, "   " + deep)) << tree.out.substr(0, 500);

    // The file cannot be opened by its path, so it is not listed; were it listed, its row would
    // say copied or failed and the exit code agree.
    const CliRun copy = Copy();
    EXPECT_EQ(copy.exitCode, RowResult(copy.out, deep) == "failed" ? 1 : 0) << copy.out << copy.err;
    EXPECT_EQ(RowResult(copy.out, "main.c"), "copied");

    // A project path past the limit is an unreadable project file.
    EXPECT_EQ(Cli({"tree", Proj(deep + "\\..\\p.wpj")}).exitCode, 2);
}
