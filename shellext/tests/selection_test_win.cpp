// The selection intake: the drop list of real shell data objects, and Initialize on the
// object the registry activates.

#include "com_ptr.h"
#include "shell_data_object.h"
#include "shell_dll.h"
#include "test_files.h"

#include "shellext/com/selection_win.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

namespace {

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

class Selection : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new std::wstring(freshTestFolder(L"selection"));
        for (const wchar_t* name : {L"a.txt", L"b c.txt", L"z.bin"})
            ASSERT_TRUE(writeTestFile(*folder + L"\\" + name, "x"));
        CreateDirectoryW((*folder + L"\\sub folder").c_str(), nullptr);
    }
    static void TearDownTestSuite() { delete folder; }
    static std::wstring in(const wchar_t* name) { return *folder + L"\\" + name; }

    ComApartment apartment;
    static std::wstring* folder;
};
std::wstring* Selection::folder = nullptr;

TEST_F(Selection, ShellDataObjectsGiveTheirItemsInOrder) {
    const std::vector<std::vector<std::wstring>> selections = {
        {in(L"a.txt")},
        {in(L"z.bin"), in(L"a.txt"), in(L"b c.txt")},
        {in(L"sub folder")},
        {in(L"b c.txt"), in(L"sub folder")},
    };
    for (const auto& selection : selections) {
        ComRef<IDataObject> data = shellDataObject(selection);
        ASSERT_TRUE(data);
        std::vector<std::wstring> paths;
        EXPECT_EQ(velk::readDropList(data.get(), paths), S_OK);
        EXPECT_EQ(paths, selection);
    }
}

TEST_F(Selection, ReadingAppendsToWhatTheCallerHolds) {
    ComRef<IDataObject> data = shellDataObject({in(L"a.txt")});
    ASSERT_TRUE(data);
    std::vector<std::wstring> paths = {L"earlier"};
    EXPECT_EQ(velk::readDropList(data.get(), paths), S_OK);
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"earlier", in(L"a.txt")}));
}

TEST_F(Selection, LongPathIsKeptWhole) {
    const std::wstring longPath = L"C:\\" + std::wstring(297, L'p'); // 300 characters
    ComRef<IDataObject> data = handMadeDataObject({longPath, L"C:\\short.txt"});
    std::vector<std::wstring> paths;
    EXPECT_EQ(velk::readDropList(data.get(), paths), S_OK);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], longPath);
    EXPECT_EQ(paths[1], L"C:\\short.txt");
}

TEST_F(Selection, EmptyEntriesAreSkipped) {
    ComRef<IDataObject> data = handMadeDataObject({L"", L"C:\\a.txt"});
    std::vector<std::wstring> paths;
    EXPECT_EQ(velk::readDropList(data.get(), paths), S_OK);
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\a.txt"}));
}

TEST_F(Selection, NoDataObjectOrNoDropListFails) {
    std::vector<std::wstring> paths;
    EXPECT_EQ(velk::readDropList(nullptr, paths), E_FAIL);
    ComRef<IDataObject> noDrop = handMadeDataObject({L"C:\\x.txt"}, false);
    EXPECT_EQ(velk::readDropList(noDrop.get(), paths), E_FAIL);
    EXPECT_TRUE(paths.empty());
}

// The class as the shell reaches it: through the registry.
class RegisteredObject : public Selection {
  protected:
    static void SetUpTestSuite() {
        Selection::SetUpTestSuite();
        ASSERT_EQ(runRegsvr32(L"/s \"" + dllPath() + L"\""), 0);
    }
    static void TearDownTestSuite() {
        runRegsvr32(L"/s /u \"" + dllPath() + L"\"");
        Selection::TearDownTestSuite();
    }
    static std::wstring dllPath() { return testProgramFolder() + L"velkshell.dll"; }

    ComRef<IShellExtInit> create() {
        ComRef<IShellExtInit> init;
        EXPECT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                   init.putVoid()),
                  S_OK);
        return init;
    }
};

TEST_F(RegisteredObject, ActivatesThroughTheRegistryAndTakesShellSelections) {
    ComRef<IShellExtInit> init = create();
    ASSERT_TRUE(init);
    for (const auto& selection : std::vector<std::vector<std::wstring>>{
             {in(L"a.txt")}, {in(L"z.bin"), in(L"a.txt"), in(L"b c.txt")}, {in(L"sub folder")}}) {
        ComRef<IDataObject> data = shellDataObject(selection);
        ASSERT_TRUE(data);
        EXPECT_EQ(init->Initialize(nullptr, data.get(), nullptr), S_OK);
    }
}

TEST_F(RegisteredObject, InitializeFailsWithoutADropList) {
    ComRef<IShellExtInit> init = create();
    ASSERT_TRUE(init);
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_FAIL);
    ComRef<IDataObject> noDrop = handMadeDataObject({L"C:\\x.txt"}, false);
    EXPECT_EQ(init->Initialize(nullptr, noDrop.get(), nullptr), E_FAIL);
    ComRef<IDataObject> emptyList = handMadeDataObject({});
    EXPECT_EQ(init->Initialize(nullptr, emptyList.get(), nullptr), E_FAIL);
}

TEST_F(RegisteredObject, UnregisteredClassCannotBeActivated) {
    ASSERT_EQ(runRegsvr32(L"/s /u \"" + dllPath() + L"\""), 0);
    ComRef<IUnknown> object;
    EXPECT_EQ(
        CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()),
        REGDB_E_CLASSNOTREG);
    ASSERT_EQ(runRegsvr32(L"/s \"" + dllPath() + L"\""), 0);
}

} // namespace
