// Run by network_drive_test.sh with a readable file on a network-typed drive: the registered
// object gives it the "Velkscope" item at once; the script watches that nothing opens the file
// meanwhile.

#include "shell_menu_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::wstring gPath;

class NetworkDrive : public ShellMenuTest {};

TEST_F(NetworkDrive, ReadableFileGetsTheViewerItemAndIsNotRead) {
    ASSERT_NE(GetFileAttributesW(gPath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetDriveTypeW(L"N:\\"), static_cast<UINT>(DRIVE_REMOTE));
    for (const char* config : {"{}", R"({"compute_all_menus":1})"}) {
        SCOPED_TRACE(config);
        writeConfig(config);
        const BuiltMenu built = build({gPath});
        ASSERT_EQ(built.entries.size(), 3u);
        EXPECT_FALSE(built.ours().popup);
        EXPECT_EQ(built.ours().text, L"Velkscope");
        EXPECT_EQ(built.result, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: shell_network_drive_test.exe PATH\n");
        return 2;
    }
    const std::string narrow = argv[1];
    gPath = narrowToWide(narrow);
    return RUN_ALL_TESTS();
}
