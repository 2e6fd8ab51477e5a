#include "classlib/core/hostfs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/tempdir.h"

namespace {

using Code = HostStatus::Code;
using ::testing::HasSubstr;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void SetModificationTime(const std::string& path, time_t seconds, long nanoseconds) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

timespec ModificationTime(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim;
}

// Runs a test body in another current folder and comes back.
class CurrentFolderGuard {
public:
    explicit CurrentFolderGuard(const std::string& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolderGuard() { std::filesystem::current_path(previous_); }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace

// --- Resolving the case of path components -------------------------------------------

TEST(HostFsResolve, ComponentsTakeTheirOnDiskCase) {
    TempDir dir;
    dir.Write("Inc/Defs.H", "#define X\n");
    HostFs fs;
    EXPECT_EQ(fs.Resolve(dir.path() + "\\inc\\defs.h"), dir.Join("Inc/Defs.H"));
    EXPECT_EQ(fs.Kind(dir.path() + "/INC/DEFS.h"), HostEntry::File);
    EXPECT_EQ(fs.Kind(dir.path() + "/inc"), HostEntry::Folder);
    std::string contents;
    EXPECT_TRUE(fs.ReadFile(dir.path() + "\\inc\\defs.h", contents).ok());
    EXPECT_EQ(contents, "#define X\n");
}

TEST(HostFsResolve, AmbiguousOrMissingComponentsStayAsWritten) {
    TempDir dir;
    dir.Write("a.h", "lower");
    dir.Write("A.h", "upper");
    HostFs fs;
    const struct {
        const char* query;
        const char* expected;
    } cases[] = {
        {"/a.h", "/a.h"},  // the exact name wins
        {"/A.h", "/A.h"},
        {"/A.H", "/A.H"},  // two entries match without case: not resolved
        {"/none/x.h", "/none/x.h"},
        {"//A.h/", "//A.h/"},
        {"/./nOnE/../a.h", "/./nOnE/../a.h"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fs.Resolve(dir.path() + c.query), dir.path() + c.expected) << c.query;
    }
    EXPECT_EQ(fs.Kind(dir.path() + "/A.H"), HostEntry::Missing);
}

TEST(HostFsResolve, DotComponentsAndRepeatedSeparatorsAreKept) {
    TempDir dir;
    dir.Write("Src/Main.c", "");
    dir.MakeFolder("Lib");
    HostFs fs;
    EXPECT_EQ(fs.Resolve(dir.path() + "\\\\src\\.\\..\\lib\\..\\src\\main.c"),
              dir.path() + "//Src/./../Lib/../Src/Main.c");
    EXPECT_EQ(fs.Kind(dir.path() + "\\src\\..\\lib"), HostEntry::Folder);
}

TEST(HostFsResolve, NamesThatAreNotUtf8AreBytes) {
    TempDir dir;
    dir.Write("Caf\xE9.h", "latin-1");
    HostFs fs;
    EXPECT_EQ(fs.Resolve(dir.path() + "/cAF\xE9.H"), dir.Join("Caf\xE9.h"));
    // Only ASCII letters fold: 0xC9 is not the capital of 0xE9 here.
    EXPECT_EQ(fs.Resolve(dir.path() + "/caf\xC9.h"), dir.path() + "/caf\xC9.h");
}

TEST(HostFsResolve, RelativePathsFollowTheCurrentFolder) {
    TempDir first;
    TempDir second;
    first.Write("One/File.txt", "1");
    second.Write("Two/File.txt", "2");
    HostFs fs;
    {
        CurrentFolderGuard inFirst(first.path());
        EXPECT_EQ(fs.Resolve("one\\file.TXT"), "One/File.txt");
        EXPECT_EQ(fs.Kind("one/file.txt"), HostEntry::File);
        EXPECT_EQ(fs.Kind("two/file.txt"), HostEntry::Missing);
        EXPECT_EQ(std::filesystem::path(HostFs::CurrentFolder()),
                  std::filesystem::current_path());
    }
    CurrentFolderGuard inSecond(second.path());
    EXPECT_EQ(fs.Kind("one/file.txt"), HostEntry::Missing);
    EXPECT_EQ(fs.Kind("two/file.txt"), HostEntry::File);
}

// --- Reading --------------------------------------------------------------------------

TEST(HostFsRead, OutcomesByKindOfPath) {
    TempDir dir;
    dir.Write("file.txt", "0123456789");
    dir.MakeFolder("folder");
    ASSERT_EQ(::mkfifo(dir.Join("fifo").c_str(), 0600), 0);
    const struct {
        const char* path;
        std::uint64_t maxBytes;
        Code code;
    } cases[] = {
        {"file.txt", 10, Code::Ok},
        {"file.txt", 9, Code::TooLarge},
        {"missing.txt", 100, Code::NotFound},
        {"missing/file.txt", 100, Code::NotFound},
        {"file.txt/inside", 100, Code::NotFound},
        {"folder", 100, Code::NotRegular},
        {"fifo", 100, Code::NotRegular},  // must not block waiting for a writer
    };
    HostFs fs;
    for (const auto& c : cases) {
        std::string contents = "stale";
        const HostStatus status = fs.ReadFile(dir.Join(c.path), contents, c.maxBytes);
        EXPECT_EQ(status.code, c.code) << c.path << ": " << status.reason;
        EXPECT_EQ(contents, c.code == Code::Ok ? "0123456789" : "") << c.path;
        if (c.code != Code::Ok) {
            EXPECT_THAT(status.reason, HasSubstr(c.path));
        }
    }
}

TEST(HostFsRead, UnreadableFileFailsWithTheReason) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads files whatever their permissions";
    }
    TempDir dir;
    const std::string path = dir.Write("secret.txt", "x");
    ::chmod(path.c_str(), 0);
    HostFs fs;
    std::string contents;
    const HostStatus status = fs.ReadFile(path, contents);
    EXPECT_EQ(status.code, Code::Failed);
    EXPECT_THAT(status.reason, HasSubstr("secret.txt"));
    EXPECT_THAT(status.reason, HasSubstr("Permission denied"));
}

// --- Creating folders -----------------------------------------------------------------

TEST(HostFsCreateFolder, CreatesOnceAndKeepsTheCacheTrue) {
    TempDir dir;
    HostFs fs;
    const std::string path = dir.Join("New");
    EXPECT_EQ(fs.Kind(path), HostEntry::Missing);
    EXPECT_EQ(fs.Resolve(dir.Join("new")), dir.Join("new"));
    EXPECT_EQ(fs.CreateFolder(path).code, Code::Ok);
    EXPECT_EQ(fs.Kind(path), HostEntry::Folder);
    EXPECT_EQ(fs.Kind(dir.Join("new")), HostEntry::Folder);
    EXPECT_EQ(fs.CreateFolder(path).code, Code::Failed);
    EXPECT_EQ(fs.CreateFolder(dir.Join("absent/child")).code, Code::Failed);
}

// --- Copying --------------------------------------------------------------------------

TEST(HostFsCopy, CopiesBytesAndModificationTime) {
    TempDir dir;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    const std::string source = dir.Write("src/Big.bin", bytes);
    SetModificationTime(source, 1000000000, 123456789);
    HostFs fs;
    ASSERT_EQ(fs.CopyFile(source, dir.Join("dst.bin")).code, Code::Ok);
    EXPECT_EQ(ReadWhole(dir.Join("dst.bin")), bytes);
    EXPECT_EQ(ModificationTime(dir.Join("dst.bin")).tv_sec, 1000000000);
    EXPECT_EQ(ModificationTime(dir.Join("dst.bin")).tv_nsec, 123456789);
    EXPECT_EQ(fs.Kind(dir.Join("dst.bin")), HostEntry::File);
}

TEST(HostFsCopy, ReplacesAnExistingDestinationWhole) {
    TempDir dir;
    const std::string source = dir.Write("short.txt", "new");
    const std::string destination = dir.Write("long.txt", "an older and much longer text");
    HostFs fs;
    ASSERT_EQ(fs.CopyFile(source, destination).code, Code::Ok);
    EXPECT_EQ(ReadWhole(destination), "new");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"long.txt", "short.txt"}));
}

TEST(HostFsCopy, DestinationFoldersResolveWithoutCaseAndNewNamesKeepTheirs) {
    TempDir dir;
    const std::string source = dir.Write("a.c", "a");
    dir.MakeFolder("out/Src");
    HostFs fs;
    EXPECT_EQ(fs.Kind(dir.Join("out/src/New.C")), HostEntry::Missing);
    ASSERT_EQ(fs.CopyFile(source, dir.path() + "\\OUT\\src\\New.C").code, Code::Ok);
    EXPECT_EQ(Entries(dir.Join("out/Src")), (std::vector<std::string>{"New.C"}));
    EXPECT_EQ(fs.Kind(dir.Join("out/src/new.c")), HostEntry::File);
}

TEST(HostFsCopy, RefusesToCopyAFileOntoItself) {
    TempDir dir;
    const std::string source = dir.Write("Same.txt", "keep me");
    HostFs fs;
    for (const std::string& destination : {source, dir.Join("same.TXT")}) {
        const HostStatus status = fs.CopyFile(source, destination);
        EXPECT_EQ(status.code, Code::Failed);
        EXPECT_THAT(status.reason, HasSubstr("source and destination are the same file"));
    }
    EXPECT_EQ(ReadWhole(source), "keep me");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"Same.txt"}));
}

TEST(HostFsCopy, SourceMustBeAnExistingRegularFile) {
    TempDir dir;
    dir.MakeFolder("folder");
    ASSERT_EQ(::mkfifo(dir.Join("fifo").c_str(), 0600), 0);
    HostFs fs;
    EXPECT_EQ(fs.CopyFile(dir.Join("missing"), dir.Join("out")).code, Code::NotFound);
    EXPECT_EQ(fs.CopyFile(dir.Join("folder"), dir.Join("out")).code, Code::NotRegular);
    EXPECT_EQ(fs.CopyFile(dir.Join("fifo"), dir.Join("out")).code, Code::NotRegular);
    EXPECT_EQ(fs.Kind(dir.Join("out")), HostEntry::Missing);
}

TEST(HostFsCopy, ReadOnlyDestinationFolderFailsAndLeavesNoTemporaryFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    TempDir dir;
    const std::string source = dir.Write("a.txt", "a");
    const std::string locked = dir.MakeFolder("locked");
    dir.Write("locked/a.txt", "old");
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    HostFs fs;
    const HostStatus status = fs.CopyFile(source, dir.Join("locked/a.txt"));
    EXPECT_EQ(status.code, Code::Failed);
    EXPECT_THAT(status.reason, HasSubstr("locked"));
    EXPECT_EQ(Entries(locked), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(ReadWhole(dir.Join("locked/a.txt")), "old");
}

TEST(HostFsCopy, MissingDestinationFolderFails) {
    TempDir dir;
    const std::string source = dir.Write("a.txt", "a");
    HostFs fs;
    EXPECT_EQ(fs.CopyFile(source, dir.Join("absent/a.txt")).code, Code::Failed);
}

// --- Writing --------------------------------------------------------------------------

TEST(HostFsWrite, WritesThroughATemporaryFile) {
    TempDir dir;
    HostFs fs;
    const std::string path = dir.Join("Dep.Txt");
    EXPECT_EQ(fs.Kind(path), HostEntry::Missing);
    const HostStatus status = fs.WriteFileAtomically(path, [](std::ostream& out) {
        out << "line 1\n line 2\n";
        return true;
    });
    ASSERT_EQ(status.code, Code::Ok) << status.reason;
    EXPECT_EQ(ReadWhole(path), "line 1\n line 2\n");
    EXPECT_EQ(fs.Kind(path), HostEntry::File);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"Dep.Txt"}));
}

TEST(HostFsWrite, AbandonedWriteLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.Write("dep.txt", "old contents");
    HostFs fs;
    const HostStatus status = fs.WriteFileAtomically(path, [](std::ostream& out) {
        out << "half";
        return false;
    });
    EXPECT_EQ(status.code, Code::Failed);
    EXPECT_EQ(ReadWhole(path), "old contents");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"dep.txt"}));
}

TEST(HostFsWrite, RewriteKeepsThePermissions) {
    TempDir dir;
    const std::string path = dir.Write("dep.txt", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    HostFs fs;
    ASSERT_TRUE(fs.WriteFileAtomically(path, [](std::ostream& out) {
                      out << "new";
                      return true;
                  }).ok());
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadWhole(path), "new");
}

// --- Identity -------------------------------------------------------------------------

TEST(HostFsSameFile, ComparesDeviceAndInode) {
    TempDir dir;
    const std::string a = dir.Write("A.txt", "x");
    const std::string b = dir.Write("b.txt", "x");
    ASSERT_EQ(::link(a.c_str(), dir.Join("hard.txt").c_str()), 0);
    HostFs fs;
    EXPECT_TRUE(fs.SameFile(a, dir.Join("a.TXT")));
    EXPECT_TRUE(fs.SameFile(a, dir.Join("hard.txt")));
    EXPECT_FALSE(fs.SameFile(a, b));
    EXPECT_FALSE(fs.SameFile(a, dir.Join("missing")));
}
