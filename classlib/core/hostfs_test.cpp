// Tests of the host layer's shared part; hostfs_posix_test.cpp and hostfs_windows_test.cpp test
// the platforms.
#include "classlib/core/hostfs.h"

#include <gtest/gtest.h>

TEST(HostFs, FailureReasonsReadActionPathAndWords) {
    const struct {
        const char* action;
        const char* path;
        const char* words;
        const char* reason;
    } rows[] = {
        {"cannot read", "/p/a.h", "Permission denied", "cannot read /p/a.h: Permission denied"},
        {"", "/p/a.h", "is a link; not followed", "/p/a.h: is a link; not followed"},
        {"", "", "no destination folder was given", "no destination folder was given"},
        {"cannot copy", "a.h", "", "cannot copy a.h"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FailureReason(row.action, row.path, row.words), row.reason);
    }
    const HostStatus status =
        HostStatus::Failure(HostStatus::Code::NotFound, "cannot open", "x", "gone");
    EXPECT_EQ(status.code, HostStatus::Code::NotFound);
    EXPECT_EQ(status.reason, "cannot open x: gone");
}
