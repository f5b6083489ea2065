// Which files the extension leaves unread, and the bounds of a read on the shell's thread.

#include "shellext/menu/shell_read.h"

#include <gtest/gtest.h>

#include <thread>

namespace velk {
namespace {

TEST(ShellRead, FilesElsewhereAreNeverReadByTheExtension) {
    struct Case {
        const char* what;
        FilePlace place;
        bool remote;
    } cases[] = {
        {"local archive file", {false, false, 0x20}, false},
        {"local hidden read-only file", {false, false, 0x1 | 0x2}, false},
        {"share path", {true, false, 0x20}, true},
        {"network drive", {false, true, 0x20}, true},
        {"offline", {false, false, 0x1000}, true},
        {"recall on open", {false, false, 0x40000}, true},
        {"recall on data access", {false, false, 0x400000 | 0x20}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(contentIsRemote(c.place), c.remote) << c.what;
}

TEST(ShellRead, SharePathsAndDriveRootsAreTold) {
    struct Case {
        const wchar_t* path;
        bool unc;
        const wchar_t* root;
    } cases[] = {
        {L"C:\\data\\a.bin", false, L"C:\\"},
        {L"n:/share/a.bin", false, L"n:\\"},
        {L"\\\\?\\Z:\\long\\a.bin", false, L"Z:\\"},
        {L"\\\\server\\share\\a.bin", true, L""},
        {L"//server/share/a.bin", true, L""},
        {L"\\\\?\\UNC\\server\\share\\a.bin", true, L""},
        {L"\\\\.\\PhysicalDrive0", false, L""},
        {L"relative\\a.bin", false, L""},
        {L"1:\\a.bin", false, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isUncPath(c.path), c.unc) << std::string(c.path, c.path + wcslen(c.path));
        EXPECT_EQ(driveRootOf(c.path), c.root);
    }
}

TEST(ShellRead, BoundedReadCapsAtTheMeasuredSizeAndCancelsPastItsBudget) {
    {
        BoundedRead untimed(-1, false);
        EXPECT_EQ(untimed.options().byteCap, kNoByteCap);
        ASSERT_NE(untimed.options().cancel, nullptr);
        EXPECT_FALSE(untimed.stopped());
    }
    // A budget far away never stops the read, and the read's end ends the watch at once
    // (the test would hang for ten minutes otherwise).
    {
        BoundedRead roomy(12345, true, std::chrono::minutes(10));
        EXPECT_EQ(roomy.options().byteCap, 12345u);
        EXPECT_FALSE(roomy.stopped());
    }
    // A budget already spent stops it, with no report from the pass needed.
    BoundedRead spent(0, true, std::chrono::milliseconds(0));
    EXPECT_EQ(spent.options().byteCap, 0u);
    for (int i = 0; i < 500 && !spent.stopped(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(spent.stopped());
    EXPECT_TRUE(spent.options().cancel->load());
}

} // namespace
} // namespace velk
