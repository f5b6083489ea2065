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

TEST(ShellListArguments, EachPathInItsOwnQuotesAndBoundedByTheCommandLine) {
    EXPECT_EQ(checkListArguments(L"C:\\d l\\SHA256SUMS"), L"--check \"C:\\d l\\SHA256SUMS\"");
    EXPECT_EQ(createListArguments({L"C:\\a b.iso", L"C:\\c"}),
              L"--create \"C:\\a b.iso\" \"C:\\c\"");
    const std::wstring program = L"C:\\Program Files\\Velkora\\velkscope.exe";
    // The quoted program, a space and the arguments, with the line's end, in 32767.
    const std::size_t room = kMaxCommandLine - 1 - (program.size() + 2) - 1;
    EXPECT_TRUE(fitsCommandLine(program, std::wstring(room, L'x')));
    EXPECT_FALSE(fitsCommandLine(program, std::wstring(room + 1, L'x')));
    std::vector<std::wstring> many(250,
                                   L"C:\\Users\\someone\\Downloads\\" + std::wstring(120, L'n'));
    EXPECT_FALSE(fitsCommandLine(program, createListArguments(many)));
    many.resize(100);
    EXPECT_TRUE(fitsCommandLine(program, createListArguments(many)));
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
