// Tests of the POSIX host layer; hostfs_windows_test.cpp tests the Windows one.

#include "classlib/core/hostfs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/fakehostfs.h"
#include "tests/support/tempdir.h"
#include "tests/support/treesnapshot.h"

namespace {

using Code = HostStatus::Code;
using ::testing::HasSubstr;

struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

// Writes text through a temporary file; finish false abandons the write, a signal is raised
// half-way when given.
HostStatus WriteWith(HostFs& fs, const std::string& path, const char* text, bool finish,
                     int signal = 0) {
    return fs.WriteFileAtomically(path, [&](std::ostream& out) {
        out << text << std::flush;
        if (signal != 0) {
            ::raise(signal);
        }
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
    NativeHostFs fs;
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
    NativeHostFs inFirst;
    EXPECT_EQ(inFirst.Resolve("one\\file.TXT"), "One/File.txt");
    EXPECT_EQ(inFirst.Kind("two/file.txt"), HostEntry::Missing);
    std::filesystem::current_path(second.path());
    NativeHostFs inSecond;
    EXPECT_EQ(inSecond.Kind("one/file.txt"), HostEntry::Missing);
    EXPECT_EQ(inSecond.Kind("two/file.txt"), HostEntry::File);
    std::filesystem::current_path(previous);
}

// A copy refuses what a read refuses (only a copy is not limited in size).
TEST(HostFs, ReadAndCopyOutcomesByKindOfPath) {
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
    NativeHostFs fs;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        std::string contents = "stale";
        const HostStatus status = fs.ReadFile(dir.Join(row.path), contents, row.maxBytes);
        EXPECT_EQ(status.code, row.code) << status.reason;
        EXPECT_EQ(contents, row.code == Code::Ok ? "0123456789" : "");
        if (row.code != Code::Ok) {
            EXPECT_THAT(status.reason, HasSubstr(row.path));
        }
        if (row.code != Code::TooLarge) {
            EXPECT_EQ(fs.CopyFile(dir.Join(row.path), dir.Join("copy")).code, row.code);
        }
    }
}

// The source is a name a project gives, so it resolves without case; the
// cache learns of the copy made through the same object.
TEST(HostFs, CopyKeepsBytesAndTimeResolvesTheSourceAndReplacesWhole) {
    TempDir dir;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    const std::string source = dir.Write("src/Big.bin", bytes);
    const timespec times[2] = {{1000000000, 123456789}, {1000000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
    dir.MakeFolder("out/Src");
    NativeHostFs fs;
    EXPECT_EQ(fs.Kind(dir.Join("out/src/New.C")), HostEntry::Missing);
    ASSERT_EQ(fs.CopyFile(dir.path() + "\\SRC\\big.BIN", dir.path() + "\\out\\Src\\New.C").code,
              Code::Ok);
    const std::string copy = dir.Join("out/Src/New.C");
    EXPECT_EQ(ReadWhole(copy), bytes);
    EXPECT_EQ(StatOf(copy).st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(StatOf(copy).st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(fs.Kind(dir.Join("out/src/new.c")), HostEntry::File);

    ASSERT_EQ(fs.CopyFile(dir.Write("short.txt", "new"), copy).code, Code::Ok);
    EXPECT_EQ(ReadWhole(copy), "new");
    EXPECT_EQ(treesnapshot::Paths(dir.Join("out/Src")), "New.C");
}

TEST(HostFs, CopyRefusesTheSameFileAndMissingFolders) {
    TempDir dir;
    const std::string source = dir.Write("Same.txt", "keep me");
    dir.MakeFolder("out");
    NativeHostFs fs;
    ASSERT_EQ(::link(source.c_str(), dir.Join("hard.txt").c_str()), 0);
    FileIdentity same;
    FileIdentity linked;
    ASSERT_EQ(fs.Identify(source, same).code, Code::Ok);
    ASSERT_EQ(fs.Identify(dir.Join("hard.txt"), linked).code, Code::Ok);
    EXPECT_EQ(same, linked);
    EXPECT_EQ(fs.Identify(dir.Join("same.TXT"), linked).code, Code::NotFound);  // named exactly
    for (const std::string& destination : {source, dir.Join("hard.txt")}) {
        const HostStatus status = fs.CopyFile(source, destination);
        EXPECT_EQ(status.code, Code::Failed);
        EXPECT_THAT(status.reason, HasSubstr("source and destination are the same file"));
    }
    EXPECT_EQ(ReadWhole(source), "keep me");
    EXPECT_EQ(fs.CopyFile(source, dir.Join("absent/a.txt")).code, Code::Failed);
    // The destination folder is named exactly too.
    EXPECT_EQ(fs.CopyFileBelow(source, dir.Join("OUT"), "a.txt").code, Code::Failed);
    EXPECT_EQ(fs.CopyFileBelow(source, dir.Join("out"), "").reason,
              source + ": no destination file was named");
    EXPECT_EQ(treesnapshot::Paths(dir.path()), "Same.txt hard.txt out");
}

// Below the folder no link is followed, neither a folder nor the file, made by the user or
// swapped in: the copy fails and the file behind the link stays whole. The folder itself may be
// reached through a link.
TEST(HostFs, CopyFollowsNoLinkBelowTheFolder) {
    TempDir dir;
    const std::string source = dir.Write("p/a.h", "new");
    dir.Write("p/b.h", "project's own");
    dir.MakeFolder("dest");
    ASSERT_EQ(::symlink(dir.Join("p").c_str(), dir.Join("dest/sub").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Join("p/b.h").c_str(), dir.Join("dest/b.h").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Join("dest").c_str(), dir.Join("via").c_str()), 0);
    const struct {
        const char* folder;
        const char* relative;
        const char* reason;  // empty: copied
    } rows[] = {
        {"dest", "sub/b.h", "dest/sub: is a link; not followed"},
        {"dest", "sub/deeper/b.h", "dest/sub: is a link; not followed"},
        {"dest", "b.h", "dest/b.h: is a link; not followed"},
        {"via", "new/b.h", ""},
    };
    NativeHostFs fs;
    for (const auto& row : rows) {
        const HostStatus status = fs.CopyFileBelow(source, dir.Join(row.folder), row.relative);
        EXPECT_EQ(status.reason, *row.reason ? dir.Join(row.reason) : "") << row.relative;
    }
    EXPECT_EQ(ReadWhole(dir.Join("p/b.h")), "project's own");
    EXPECT_EQ(treesnapshot::Paths(dir.Join("p")), "a.h b.h");
    EXPECT_EQ(ReadWhole(dir.Join("dest/new/b.h")), "new");
}

// Names that a project gives are looked up without case; what is written is named exactly, so
// "OUT" is made beside "out" and nothing in "out" changes. The cache learns of each file written,
// a replaced file keeps its permissions, and a writer that gives up leaves the old file whole.
TEST(HostFs, WritesAreNamedExactlyAndReplaceWholeOrNotAtAll) {
    TempDir dir;
    dir.Write("out/Dep.txt", "theirs");
    const std::string source = dir.Write("a.c", "ours");
    const std::string path = dir.Join("out/DEP.TXT");
    NativeHostFs fs;
    EXPECT_EQ(fs.CreateFolder(dir.Join("OUT")).code, Code::Ok);
    EXPECT_EQ(fs.CreateFolder(dir.Join("OUT")).code, Code::Ok);  // someone else made it meanwhile
    EXPECT_EQ(fs.CreateFolder(dir.Join("a.c")).code, Code::Failed);
    EXPECT_EQ(fs.Kind(dir.Join("New")), HostEntry::Missing);
    EXPECT_EQ(fs.CreateFolder(dir.Join("New//")).code, Code::Ok);
    EXPECT_EQ(fs.Kind(dir.Join("new")), HostEntry::Folder);
    EXPECT_EQ(fs.CopyFile(source, dir.Join("OUT/a.c")).code, Code::Ok);
    EXPECT_EQ(fs.CopyFile(source, dir.Join("out/dep.txt")).code, Code::Ok);  // beside Dep.txt
    EXPECT_EQ(fs.CopyFile(source, dir.Join("Out/a.c")).code, Code::Failed);  // no such folder
    EXPECT_EQ(fs.Kind(dir.Join("OUT/b.c")), HostEntry::Missing);
    ASSERT_EQ(WriteWith(fs, dir.Join("OUT/b.c"), "line 1\n line 2\n", true).code, Code::Ok);
    EXPECT_EQ(fs.Kind(dir.Join("OUT/b.c")), HostEntry::File);
    EXPECT_EQ(ReadWhole(dir.Join("OUT/b.c")), "line 1\n line 2\n");
    ASSERT_EQ(WriteWith(fs, path, "ours", true).code, Code::Ok);
    EXPECT_EQ(treesnapshot::Paths(dir.path()),
              "New OUT OUT/a.c OUT/b.c a.c out out/DEP.TXT out/Dep.txt out/dep.txt");
    EXPECT_EQ(ReadWhole(dir.Join("out/Dep.txt")), "theirs");

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(WriteWith(fs, path, "new", true).code, Code::Ok);
    EXPECT_EQ(ReadWhole(path), "new");
    EXPECT_EQ(StatOf(path).st_mode & 0777, 0640u);
    EXPECT_EQ(WriteWith(fs, path, "half", false).code, Code::Failed);  // the writer gave up
    EXPECT_EQ(ReadWhole(path), "new");
    EXPECT_EQ(treesnapshot::Paths(dir.Join("out")), "DEP.TXT Dep.txt dep.txt");
}

// A process ended by a signal in the middle of a write, or between the creation of its temporary
// file and its registration for removal, removes that file on the way out; the old file stays
// whole.
TEST(HostFs, AnInterruptedWriteLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.Write("Dep.Txt", "old");
    enum class When { HalfWay, AfterCreate, CopyAfterCreate };
    for (const When when : {When::HalfWay, When::AfterCreate, When::CopyAfterCreate}) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            const pid_t child = ::fork();
            if (child == 0) {
                FakeHostFs fs;
                if (when == When::HalfWay) {
                    WriteWith(fs, path, "half", true, signal);  // ends the process half-way
                } else {
                    FakeHostFs::RaiseAfterCreatingTemporary(signal);
                    if (when == When::AfterCreate) {
                        WriteWith(fs, path, "new", true);
                    } else {
                        fs.CopyFile(dir.Join("Dep.Txt"), dir.Join("Copy.Txt"));
                    }
                }
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_EQ(treesnapshot::Paths(dir.path()), "Dep.Txt");
            EXPECT_EQ(ReadWhole(path), "old");
        }
    }
}
