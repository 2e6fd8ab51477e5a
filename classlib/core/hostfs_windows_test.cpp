// Tests of the Windows host layer; hostfs_posix_test.cpp tests the POSIX one.

#include <windows.h>
#undef CopyFile  // windows.h would rename HostFs::CopyFile

#include <algorithm>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "classlib/core/hostfs.h"
#include "classlib/core/pathrules.h"
#include "tests/support/tempdir.h"

namespace {

using Code = HostStatus::Code;
using ::testing::HasSubstr;

std::string Backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The wide "\\?\" form of a UTF-8 path, for checks made beside HostFs.
std::wstring Win32(const std::string& utf8) {
    const std::string path = Backslashed(utf8);
    std::wstring wide(path.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide.rfind(L"\\\\?\\", 0) == 0 ? wide : L"\\\\?\\" + wide;
}

HostStatus Write(HostFs& fs, const std::string& path, const std::string& text) {
    return fs.WriteFileAtomically(path, [&](std::ostream& out) { return bool(out << text); });
}

}  // namespace

// Each way of naming a file reaches the same bytes: drive letter with either
// separator, another case, the "\\?\" prefix, beyond MAX_PATH, non-ASCII.
TEST(HostFsWindows, PathFormsReachTheFileAndWritesLandUnderTheirName) {
    TempDir dir;
    const std::string deep = dir.path() + "/" + std::string(120, 'd') + "/" + std::string(120, 'e');
    const std::string rows[] = {
        dir.Join("Plain.txt"),
        Backslashed(dir.Join("Back\\Slashed.txt")),
        "\\\\?\\" + Backslashed(dir.Join("Prefixed.txt")),
        deep + "/" + std::string(60, 'f') + ".txt",  // past MAX_PATH
        dir.Join("Gr\xC3\xB6\xC3\x9F"
                 "e-\xE6\x97\xA5\xE6\x9C\xAC.h"),  // "Größe-日本.h"
    };
    NativeHostFs fs;
    ASSERT_EQ(fs.CreateFolder(dir.Join("Back")).code, Code::Ok);
    ASSERT_EQ(fs.CreateFolder(deep.substr(0, deep.rfind('/'))).code, Code::Ok);
    ASSERT_EQ(fs.CreateFolder(deep).code, Code::Ok);
    for (const std::string& path : rows) {
        SCOPED_TRACE(path);
        ASSERT_EQ(Write(fs, path, path).code, Code::Ok);
        const std::string upper = AsciiUppered(path);
        EXPECT_EQ(fs.Kind(upper), HostEntry::File);
        std::string contents;
        EXPECT_EQ(fs.ReadFile(upper, contents).code, Code::Ok);
        EXPECT_EQ(contents, path);
        EXPECT_NE(GetFileAttributesW(Win32(path).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(fs.Resolve(dir.Join("back/SLASHED.TXT")), dir.Join("Back/Slashed.txt"));
}

// Only regular files are read or copied. Copies replace the destination by renaming, keep the
// modification time, refuse the source under another spelling, and fail cleanly where the rename
// cannot replace (a folder of that name, a file open without delete sharing): nothing changed, no
// temporary file left. (Windows also refuses a read-only destination; Wine replaces it, so that
// case is not run here.)
TEST(HostFsWindows, OnlyRegularFilesAreCopiedByRenameOrFailCleanly) {
    TempDir dir;
    dir.MakeFolder("Folder.c");
    const std::string source = dir.Write("Src.c", "new");
    const FILETIME old{0x2A3B4C5D, 0x01C00000};
    const HANDLE file = CreateFileW(Win32(source).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);
    const std::string replaced = dir.Write("Replaced.c", "old");
    NativeHostFs fs;
    std::string contents;
    for (const std::string& path : {dir.Join("Folder.c"), std::string("\\\\.\\NUL")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(fs.ReadFile(path, contents).code, Code::NotRegular);
        EXPECT_EQ(fs.CopyFile(path, dir.Join("out")).code, Code::NotRegular);
    }
    EXPECT_EQ(fs.ReadFile(dir.Join("none/x.h"), contents).code, Code::NotFound);

    ASSERT_EQ(fs.CopyFile(source, replaced).code, Code::Ok);
    EXPECT_EQ(ReadWhole(replaced), "new");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(Win32(replaced).c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(CompareFileTime(&old, &data.ftLastWriteTime), 0) << "modification time kept";

    const HostStatus same = fs.CopyFile(source, dir.Join("SRC.C"));
    EXPECT_EQ(same.code, Code::Failed);
    EXPECT_THAT(same.reason, HasSubstr("same file"));

    const std::string open = dir.Write("Open.c", "old");
    const HANDLE held = CreateFileW(Win32(open).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    for (const std::string& blocked : {dir.Join("Folder.c"), open}) {
        SCOPED_TRACE(blocked);
        const HostStatus refused = fs.CopyFile(source, blocked);
        EXPECT_EQ(refused.code, Code::Failed);
        EXPECT_THAT(refused.reason, HasSubstr(blocked.substr(blocked.rfind('/'))));
    }
    CloseHandle(held);
    EXPECT_EQ(ReadWhole(open), "old");
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Win32(dir.Join(".*tamsk-*")).c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    FindClose(search);
}
