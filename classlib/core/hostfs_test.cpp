// Tests of the POSIX host layer; hostfs_windows_test.cpp tests the Windows one.
#ifndef _WIN32

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
using Names = std::vector<std::string>;
using ::testing::HasSubstr;

Names Entries(const std::string& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

HostStatus WriteWith(HostFs& fs, const std::string& path, const char* text, bool finish) {
    return fs.WriteFileAtomically(path, [&](std::ostream& out) {
        out << text;
        return finish;
    });
}

}  // namespace

TEST(HostFs, ResolvesEachComponentWithoutCaseUnlessAmbiguousOrMissing) {
    TempDir dir;
    dir.Write("Inc/Defs.H", "#define X\n");
    dir.Write("a.h", "lower");
    dir.Write("A.h", "upper");
    dir.Write("Src/Main.c", "");
    dir.MakeFolder("Lib");
    dir.Write("Caf\xE9.h", "latin-1");
    const struct {
        const char* query;
        const char* expected;
        HostEntry kind;
    } rows[] = {
        {"\\inc\\defs.h", "/Inc/Defs.H", HostEntry::File},
        {"/INC", "/Inc", HostEntry::Folder},
        {"/a.h", "/a.h", HostEntry::File},  // the exact name wins
        {"/A.h", "/A.h", HostEntry::File},
        {"/A.H", "/A.H", HostEntry::Missing},  // two entries match without case
        {"/none/x.h", "/none/x.h", HostEntry::Missing},
        {"/./nOnE/../a.h", "/./nOnE/../a.h", HostEntry::Missing},
        {"\\\\src\\.\\..\\lib\\..\\src\\main.c", "//Src/./../Lib/../Src/Main.c", HostEntry::File},
        {"/cAF\xE9.H", "/Caf\xE9.h", HostEntry::File},
        {"/caf\xC9.h", "/caf\xC9.h", HostEntry::Missing},  // only ASCII letters fold
    };
    HostFs fs;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.query);
        EXPECT_EQ(fs.Resolve(dir.path() + row.query), dir.path() + row.expected);
        EXPECT_EQ(fs.Kind(dir.path() + row.query), row.kind);
    }
    std::string contents;
    EXPECT_TRUE(fs.ReadFile(dir.path() + "\\inc\\defs.h", contents).ok());
    EXPECT_EQ(contents, "#define X\n");
}

// Relative paths are taken against the current folder; an object may keep the one it first saw,
// so each folder gets its own object, as each load or copy run does.
TEST(HostFs, RelativePathsFollowTheCurrentFolder) {
    TempDir first;
    TempDir second;
    first.Write("One/File.txt", "1");
    second.Write("Two/File.txt", "2");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(first.path());
    HostFs inFirst;
    EXPECT_EQ(inFirst.Resolve("one\\file.TXT"), "One/File.txt");
    EXPECT_EQ(inFirst.Kind("two/file.txt"), HostEntry::Missing);
    std::filesystem::current_path(second.path());
    HostFs inSecond;
    EXPECT_EQ(inSecond.Kind("one/file.txt"), HostEntry::Missing);
    EXPECT_EQ(inSecond.Kind("two/file.txt"), HostEntry::File);
    std::filesystem::current_path(previous);
}

TEST(HostFs, ReadOutcomesByKindOfPath) {
    TempDir dir;
    dir.Write("file.txt", "0123456789");
    dir.MakeFolder("folder");
    ASSERT_EQ(::mkfifo(dir.Join("fifo").c_str(), 0600), 0);
    const struct {
        const char* path;
        std::uint64_t maxBytes;
        Code code;
    } rows[] = {
        {"file.txt", 10, Code::Ok},
        {"file.txt", 9, Code::TooLarge},
        {"missing.txt", 100, Code::NotFound},
        {"missing/file.txt", 100, Code::NotFound},
        {"file.txt/inside", 100, Code::NotFound},
        {"folder", 100, Code::NotRegular},
        {"fifo", 100, Code::NotRegular},  // must not block waiting for a writer
    };
    HostFs fs;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        std::string contents = "stale";
        const HostStatus status = fs.ReadFile(dir.Join(row.path), contents, row.maxBytes);
        EXPECT_EQ(status.code, row.code) << status.reason;
        EXPECT_EQ(contents, row.code == Code::Ok ? "0123456789" : "");
        if (row.code != Code::Ok) {
            EXPECT_THAT(status.reason, HasSubstr(row.path));
        }
    }
}

TEST(HostFs, CopyKeepsBytesAndTimeResolvesFoldersAndReplacesWhole) {
    TempDir dir;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    const std::string source = dir.Write("src/Big.bin", bytes);
    const timespec times[2] = {{1000000000, 123456789}, {1000000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
    dir.MakeFolder("out/Src");
    HostFs fs;
    EXPECT_EQ(fs.Kind(dir.Join("out/src/New.C")), HostEntry::Missing);
    ASSERT_EQ(fs.CopyFile(source, dir.path() + "\\OUT\\src\\New.C").code, Code::Ok);
    const std::string copy = dir.Join("out/Src/New.C");
    EXPECT_EQ(ReadWhole(copy), bytes);
    EXPECT_EQ(StatOf(copy).st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(StatOf(copy).st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(fs.Kind(dir.Join("out/src/new.c")), HostEntry::File);

    ASSERT_EQ(fs.CopyFile(dir.Write("short.txt", "new"), dir.Join("out/src/new.c")).code, Code::Ok);
    EXPECT_EQ(ReadWhole(copy), "new");
    EXPECT_EQ(Entries(dir.Join("out/Src")), Names{"New.C"});
}

TEST(HostFs, CopyRefusesTheSameFileIrregularSourcesAndMissingFolders) {
    TempDir dir;
    const std::string source = dir.Write("Same.txt", "keep me");
    dir.MakeFolder("folder");
    ASSERT_EQ(::mkfifo(dir.Join("fifo").c_str(), 0600), 0);
    HostFs fs;
    ASSERT_EQ(::link(source.c_str(), dir.Join("hard.txt").c_str()), 0);
    for (const std::string& destination : {source, dir.Join("same.TXT"), dir.Join("hard.txt")}) {
        const HostStatus status = fs.CopyFile(source, destination);
        EXPECT_EQ(status.code, Code::Failed);
        EXPECT_THAT(status.reason, HasSubstr("source and destination are the same file"));
    }
    EXPECT_EQ(ReadWhole(source), "keep me");
    EXPECT_EQ(fs.CopyFile(dir.Join("missing"), dir.Join("out")).code, Code::NotFound);
    EXPECT_EQ(fs.CopyFile(dir.Join("folder"), dir.Join("out")).code, Code::NotRegular);
    EXPECT_EQ(fs.CopyFile(dir.Join("fifo"), dir.Join("out")).code, Code::NotRegular);
    EXPECT_EQ(fs.CopyFile(source, dir.Join("absent/a.txt")).code, Code::Failed);
    EXPECT_EQ(Entries(dir.path()), (Names{"Same.txt", "fifo", "folder", "hard.txt"}));
}

TEST(HostFs, DeniedReadOrCopyFailsWithTheReasonAndLeavesNoTemporaryFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads and writes whatever the permissions";
    }
    TempDir dir;
    const std::string secret = dir.Write("secret.txt", "x");
    ASSERT_EQ(::chmod(secret.c_str(), 0), 0);
    HostFs fs;
    std::string contents;
    const HostStatus read = fs.ReadFile(secret, contents);
    EXPECT_EQ(read.code, Code::Failed);
    EXPECT_THAT(read.reason, HasSubstr("secret.txt"));
    EXPECT_THAT(read.reason, HasSubstr("Permission denied"));
    const std::string locked = dir.MakeFolder("locked");
    dir.Write("locked/a.txt", "old");
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    const HostStatus copy = fs.CopyFile(dir.Write("a.txt", "a"), dir.Join("locked/a.txt"));
    EXPECT_EQ(copy.code, Code::Failed);
    EXPECT_THAT(copy.reason, HasSubstr("locked"));
    EXPECT_EQ(Entries(locked), Names{"a.txt"});
    EXPECT_EQ(ReadWhole(dir.Join("locked/a.txt")), "old");
}

TEST(HostFs, WriteAtomicallyReplacesKeepingPermissionsOrLeavesTheOldFile) {
    TempDir dir;
    HostFs fs;
    const std::string path = dir.Join("Dep.Txt");
    EXPECT_EQ(fs.Kind(path), HostEntry::Missing);
    ASSERT_EQ(WriteWith(fs, path, "line 1\n line 2\n", true).code, Code::Ok);
    EXPECT_EQ(ReadWhole(path), "line 1\n line 2\n");
    EXPECT_EQ(fs.Kind(path), HostEntry::File);

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(WriteWith(fs, path, "new", true).code, Code::Ok);
    EXPECT_EQ(ReadWhole(path), "new");
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0640u);

    EXPECT_EQ(WriteWith(fs, path, "half", false).code, Code::Failed);  // the writer gave up
    EXPECT_EQ(ReadWhole(path), "new");
    EXPECT_EQ(Entries(dir.path()), Names{"Dep.Txt"});
}

#endif  // !_WIN32
