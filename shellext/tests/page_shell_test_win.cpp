// The "Hashes" page of the registered velkshell.dll: created by COM from the registry, and
// shown by the shell's own Properties dialog.

#include "page_test_support_win.h"
#include "shell_properties_dialog_win.h"

#include "engine/pass/hash_file.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

namespace velk::test {
namespace {

const CLSID kClsid = {0x5D2E8B71, 0x9C04, 0x4F6A, {0xB3, 0xE8, 0x1A, 0x7C, 0x6D, 0x92, 0xF0, 0x45}};
constexpr DWORD kWaitMs = 20000;

using SimpleExport = HRESULT(WINAPI*)();

// Registers the DLL beside this program the way an installer does, once for the program.
class RegisteredExtension : public ::testing::Environment {
  public:
    void SetUp() override {
        const std::wstring command = L"regsvr32.exe /s \"" + programFolder() + L"velkshell.dll\"";
        ASSERT_EQ(runAndWait(command, 60000), 0) << "regsvr32 failed";
    }
    void TearDown() override {
        runAndWait(L"regsvr32.exe /s /u \"" + programFolder() + L"velkshell.dll\"", 60000);
    }
};
const auto* const registered = ::testing::AddGlobalTestEnvironment(new RegisteredExtension);

// DllCanUnloadNow of the copy COM loaded into this process.
HRESULT canUnloadNow() {
    HMODULE module = GetModuleHandleW(L"velkshell.dll");
    if (module == nullptr)
        return E_UNEXPECTED;
    auto fn = reinterpret_cast<SimpleExport>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return fn == nullptr ? E_UNEXPECTED : fn();
}

class Apartment : public ::testing::Test {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override {
        collector.destroyUnused();
        CoUninitialize();
    }

    // Plays the shell: creates the registered class, hands it the selection and asks for pages.
    HRESULT askForPages(const std::vector<std::wstring>& paths) {
        IShellExtInit* rawInit = nullptr;
        HRESULT hr = CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                      reinterpret_cast<void**>(&rawInit));
        if (FAILED(hr))
            return hr;
        UniqueCom<IShellExtInit> init(rawInit);
        IDataObject* rawData = nullptr;
        hr = shellItemsObject(paths, IID_IDataObject, reinterpret_cast<void**>(&rawData));
        if (FAILED(hr))
            return hr;
        UniqueCom<IDataObject> data(rawData);
        hr = init.get()->Initialize(nullptr, data.get(), nullptr);
        if (FAILED(hr))
            return hr;
        IShellPropSheetExt* rawSheet = nullptr;
        hr =
            init.get()->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&rawSheet));
        if (FAILED(hr))
            return hr;
        UniqueCom<IShellPropSheetExt> sheet(rawSheet);
        return sheet.get()->AddPages(&PageCollector::add, collector.param());
    }

    PageTempDir dir;
    PageCollector collector;
};

using RegisteredPage = Apartment;

// Runs first in this program: the shell's own dialog below keeps a reference of its own.
TEST_F(RegisteredPage, PagesAndWorkersHoldTheModuleUntilTheyEnd) {
    const std::wstring file = dir.file(L"sixty-four.bin");
    ASSERT_TRUE(writeSparseFile(file, 64LL << 20));
    ASSERT_EQ(askForPages({file}), S_OK);
    ASSERT_EQ(collector.pages.size(), 1u);
    // The extension object is gone; the page it handed out is not.
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    {
        ModelessSheet sheet(collector.pages);
        ASSERT_NE(sheet.page(), nullptr);
        EXPECT_EQ(sheet.tabTitle(0), L"Hashes");
    }
    // Closing the sheet stops the worker hashing the 64 MiB; once its thread has ended the
    // module may go.
    EXPECT_TRUE(pumpUntil([] { return canUnloadNow() == S_OK; }, 120000));
}

TEST_F(RegisteredPage, NoPageForTwoFilesOrAFolder) {
    const std::wstring a = dir.file(L"a.txt");
    const std::wstring b = dir.file(L"b.txt");
    const std::wstring folder = dir.file(L"folder");
    ASSERT_TRUE(writeFileBytes(a, "a"));
    ASSERT_TRUE(writeFileBytes(b, "b"));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_EQ(askForPages({a, b}), S_OK);
    EXPECT_EQ(askForPages({folder}), S_OK);
    EXPECT_TRUE(collector.pages.empty());
    EXPECT_EQ(askForPages({a}), S_OK);
    EXPECT_EQ(collector.pages.size(), 1u);
}

// A copy of the DLL in a folder of its own, beside a stand-in that records how the page starts
// "velkscope.exe".
TEST_F(RegisteredPage, OpenButtonStartsTheViewerBesideTheDllWithTheShortcutTarget) {
    ASSERT_TRUE(CopyFileW((programFolder() + L"velkshell.dll").c_str(),
                          dir.file(L"velkshell.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((programFolder() + L"page_viewer_standin.exe").c_str(),
                          dir.file(L"velkscope.exe").c_str(), FALSE));
    const std::wstring record = dir.file(L"started.txt");
    SetEnvironmentVariableW(L"VELK_STANDIN_RECORD", record.c_str());
    const std::wstring target = dir.file(L"big disk image.iso");
    ASSERT_TRUE(writeSparseFile(target, 536870913));
    const std::wstring link = dir.file(L"image.lnk");
    ASSERT_TRUE(makeShortcut(link, target));

    UniqueModule copy(LoadLibraryW(dir.file(L"velkshell.dll").c_str()));
    ASSERT_TRUE(copy);
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(copy.get(), "DllGetClassObject")));
    auto copyCanUnload = reinterpret_cast<SimpleExport>(
        reinterpret_cast<void*>(GetProcAddress(copy.get(), "DllCanUnloadNow")));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(copyCanUnload, nullptr);
    {
        IClassFactory* rawFactory = nullptr;
        ASSERT_EQ(getClassObject(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&rawFactory)),
                  S_OK);
        UniqueCom<IClassFactory> factory(rawFactory);
        IShellExtInit* rawInit = nullptr;
        ASSERT_EQ(factory.get()->CreateInstance(nullptr, IID_IShellExtInit,
                                                reinterpret_cast<void**>(&rawInit)),
                  S_OK);
        UniqueCom<IShellExtInit> init(rawInit);
        IDataObject* rawData = nullptr;
        ASSERT_EQ(shellItemsObject({link}, IID_IDataObject, reinterpret_cast<void**>(&rawData)),
                  S_OK);
        UniqueCom<IDataObject> data(rawData);
        ASSERT_EQ(init.get()->Initialize(nullptr, data.get(), nullptr), S_OK);
        IShellPropSheetExt* rawExt = nullptr;
        ASSERT_EQ(
            init.get()->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&rawExt)),
            S_OK);
        UniqueCom<IShellPropSheetExt> ext(rawExt);
        ASSERT_EQ(ext.get()->AddPages(&PageCollector::add, collector.param()), S_OK);
    }
    ASSERT_EQ(collector.pages.size(), 1u);
    {
        ModelessSheet sheet(collector.pages);
        HWND open = GetDlgItem(sheet.page(), 3012);
        ASSERT_NE(open, nullptr);
        clickButton(open);
        ASSERT_TRUE(pumpUntil([&] { return !readFileBytes(record).empty(); }, kWaitMs))
            << "the stand-in was not started";
    }
    EXPECT_EQ(readFileBytes(record), "2\n" + toUtf8(target) + "\n");
    EXPECT_EQ(copyCanUnload(), S_OK);
    SetEnvironmentVariableW(L"VELK_STANDIN_RECORD", nullptr);
}

std::vector<ControlView> editsOf(HWND page) {
    return controlsOfClass(page, L"Edit");
}

using ShellDialog = Apartment;

TEST_F(ShellDialog, FilePropertiesHaveTheHashesPageWithTheDigests) {
    const std::wstring file = dir.file(L"report 2024.txt");
    ASSERT_TRUE(writeFileBytes(file, "Velkora page test"));
    HashResults expected;
    ASSERT_TRUE(computeAllHashes(toUtf8(file), expected, nullptr));

    ShellPropertiesDialog dialog({file});
    HWND sheet = dialog.waitForSheet();
    ASSERT_NE(sheet, nullptr) << "no Properties dialog; InvokeCommand gave 0x" << std::hex
                              << dialog.invokeResult();
    const std::vector<std::wstring> titles = dialog.tabTitles(sheet);
    const int tab = hashesTab(titles);
    ASSERT_GE(tab, 0);
    EXPECT_EQ(hashesTab(titles, tab + 1), -1) << "one Hashes page for a plain file";
    HWND page = dialog.showTab(sheet, tab);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(pumpUntil(
        [&] {
            const auto e = editsOf(page);
            return e.size() == 11 && e[0].text != L"computing...";
        },
        kWaitMs));
    const std::vector<ControlView> e = editsOf(page);
    for (std::size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].text, toUtf16(expected.at(kAlgorithmNames[i]))) << i;
    }
    EXPECT_EQ(pageControls(page).front().text, L"");
    dialog.close();
    EXPECT_TRUE(pumpUntil([&] { return dialog.finished(); }, kWaitMs));
}

TEST_F(ShellDialog, ShortcutPropertiesWorkOnTheTarget) {
    const std::wstring target = dir.file(L"target.bin");
    ASSERT_TRUE(writeFileBytes(target, std::string(5000, 'v')));
    const std::wstring link = dir.file(L"Target.LNK");
    ASSERT_TRUE(makeShortcut(link, target));
    HashResults expected;
    ASSERT_TRUE(computeAllHashes(toUtf8(target), expected, nullptr));

    ShellPropertiesDialog dialog({link});
    HWND sheet = dialog.waitForSheet();
    ASSERT_NE(sheet, nullptr);
    const std::vector<std::wstring> titles = dialog.tabTitles(sheet);
    int tab = hashesTab(titles);
    ASSERT_GE(tab, 0);
    // Every Hashes page of the dialog (the shell may ask the handler once per key it knows
    // for shortcuts) shows the target.
    for (; tab >= 0; tab = hashesTab(titles, tab + 1)) {
        HWND page = dialog.showTab(sheet, tab);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(pageControls(page).front().text, L"Shortcut target: " + target);
        ASSERT_TRUE(pumpUntil([&] { return editsOf(page)[0].text != L"computing..."; }, kWaitMs));
        EXPECT_EQ(editsOf(page)[4].text, toUtf16(expected.at("SHA-256")));
    }
    dialog.close();
}

// What the user sees for two files and for a folder. Wine's dialog does not consult the
// handlers for these selections at all (a page that accepted them would not show either), so
// the extension's own refusal is shown by NoPageForTwoFilesOrAFolder above.
TEST_F(ShellDialog, PropertiesOfTwoFilesHaveNoHashesPage) {
    const std::wstring a = dir.file(L"a.txt");
    const std::wstring b = dir.file(L"b.txt");
    ASSERT_TRUE(writeFileBytes(a, "a"));
    ASSERT_TRUE(writeFileBytes(b, "b"));
    ShellPropertiesDialog dialog({a, b});
    HWND sheet = dialog.waitForSheet();
    ASSERT_NE(sheet, nullptr);
    const std::vector<std::wstring> titles = dialog.tabTitles(sheet);
    EXPECT_FALSE(titles.empty());
    EXPECT_EQ(hashesTab(titles), -1);
    dialog.close();
}

TEST_F(ShellDialog, FolderPropertiesHaveNoHashesPage) {
    const std::wstring folder = dir.file(L"a folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ShellPropertiesDialog dialog({folder});
    HWND sheet = dialog.waitForSheet();
    ASSERT_NE(sheet, nullptr);
    const std::vector<std::wstring> titles = dialog.tabTitles(sheet);
    EXPECT_FALSE(titles.empty());
    EXPECT_EQ(hashesTab(titles), -1);
    dialog.close();
}

} // namespace
} // namespace velk::test
