// Texts of the menu commands: where the viewer is, how the path reaches it, the cap message.

#include "shellext/menu/command_text.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(ShellViewerPath, IsBesideTheModuleWhicheverSeparatorEndsTheFolder) {
    EXPECT_EQ(viewerPathBeside(L"C:\\Program Files\\Velkora\\velkshell.dll"),
              L"C:\\Program Files\\Velkora\\velkscope.exe");
    EXPECT_EQ(viewerPathBeside(L"Z:/work/bin/velkshell.dll"), L"Z:/work/bin\\velkscope.exe");
    EXPECT_EQ(viewerPathBeside(L"C:\\a/b\\c/velkshell.dll"), L"C:\\a/b\\c\\velkscope.exe");
    EXPECT_EQ(viewerPathBeside(L"velkshell.dll"), L"\\velkscope.exe");
    EXPECT_EQ(viewerPathBeside(L""), L"\\velkscope.exe");
}

TEST(ShellViewerArgument, IsThePathInOnePairOfQuotes) {
    EXPECT_EQ(quotedArgument(L"C:\\my files\\a b.txt"), L"\"C:\\my files\\a b.txt\"");
    EXPECT_EQ(quotedArgument(L""), L"\"\"");
}

TEST(ShellCompareArguments, OptionThenEachPathInOnePairOfQuotes) {
    EXPECT_EQ(compareArguments(L"C:\\my files\\a.iso", L"D:\\b c.iso"),
              L"--compare \"C:\\my files\\a.iso\" \"D:\\b c.iso\"");
}

TEST(ShellOpenSelectedMessage, NamesBothCounts) {
    EXPECT_EQ(openedFirstMessage(20, 25), "Opened the first 20 of 25 selected files.");
    EXPECT_EQ(openedFirstMessage(kMaxViewerLaunches, 1000),
              "Opened the first 20 of 1000 selected files.");
}

} // namespace
} // namespace velk
