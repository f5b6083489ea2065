#include "shell_menu_fixture.h"

#include "shell_data_object.h"
#include "shell_dll.h"
#include "test_files.h"

#include "engine/pass/hash_file.h"
#include "engine/utf16.h"

#include <memory>

namespace {

struct SuiteState {
    std::wstring root;
    std::wstring dlls;
    std::wstring dllName;
    std::wstring data;
    std::wstring appData;
    std::unique_ptr<ViewerStartLog> log;
    bool registeredCopy = false;
};
SuiteState* suite = nullptr;

} // namespace

std::wstring narrowToWide(const std::string& text) {
    return velk::toUtf16(text);
}
std::string wideToNarrow(const std::wstring& text) {
    return velk::toUtf8(text);
}

HRESULT BuiltMenu::invoke(UINT offset) const {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

HRESULT BuiltMenu::invokeVerb(const char* verb) const {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

void ShellMenuTest::setUpSuite(const std::wstring& dllName) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    suite = new SuiteState;
    suite->dllName = dllName;
    // A folder of each kind's own: the two may run at once in different prefixes.
    suite->root = freshTestFolder(dllName.empty() ? L"installed-menu" : L"menu");
    // The DLL's folder has a space in its name: the viewer path must survive it.
    suite->dlls = suite->root + L"\\extension folder";
    suite->data = suite->root + L"\\selected files";
    suite->appData = suite->root + L"\\appdata";
    for (const std::wstring* f : {&suite->dlls, &suite->data, &suite->appData})
        ASSERT_TRUE(CreateDirectoryW(f->c_str(), nullptr));
    CreateDirectoryW((suite->appData + L"\\velkscope").c_str(), nullptr);
    const std::wstring startsFolder = suite->root + L"\\viewer starts";
    ASSERT_TRUE(CreateDirectoryW(startsFolder.c_str(), nullptr));
    suite->log = std::make_unique<ViewerStartLog>(startsFolder);
    ASSERT_TRUE(SetEnvironmentVariableW(L"APPDATA", suite->appData.c_str()));
    if (dllName.empty())
        return;
    const std::wstring bin = testProgramFolder();
    ASSERT_TRUE(CopyFileW((bin + dllName).c_str(), (suite->dlls + L"\\" + dllName).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((bin + L"shell_viewer_standin.exe").c_str(),
                          (suite->dlls + L"\\velkscope.exe").c_str(), FALSE));
    ASSERT_EQ(runRegsvr32(L"/s \"" + suite->dlls + L"\\" + dllName + L"\""), 0);
    suite->registeredCopy = true;
}

void ShellMenuTest::TearDownTestSuite() {
    if (suite->registeredCopy)
        runRegsvr32(L"/s /u \"" + suite->dlls + L"\\" + suite->dllName + L"\"");
    delete suite;
    suite = nullptr;
}

void ShellMenuTest::SetUp() {
    ASSERT_NE(suite, nullptr);
    DeleteFileW((suite->appData + L"\\velkscope\\config.json").c_str());
    suite->log->clear();
}

std::wstring ShellMenuTest::file(const std::wstring& name, const std::string& content) {
    const std::wstring path = suite->data + L"\\" + name;
    EXPECT_TRUE(writeTestFile(path, content));
    return path;
}

std::wstring ShellMenuTest::sizedFile(const std::wstring& name, long long size) {
    const std::wstring path = suite->data + L"\\" + name;
    EXPECT_TRUE(makeSizedFile(path, size));
    return path;
}

std::wstring ShellMenuTest::folder(const std::wstring& name) {
    const std::wstring path = suite->data + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void ShellMenuTest::writeConfig(const std::string& json) {
    ASSERT_TRUE(writeTestFile(suite->appData + L"\\velkscope\\config.json", json));
}

velk::HashResults ShellMenuTest::digestsOf(const std::wstring& path) {
    velk::HashResults results;
    EXPECT_TRUE(velk::computeAllHashes(velk::toUtf8(path), results, nullptr));
    return results;
}

void ShellMenuTest::setReadDelay(unsigned milliseconds) {
    using SetDelayFn = void(WINAPI*)(unsigned);
    // Loaded by COM from the registered copy.
    HMODULE module = GetModuleHandleW(suite->dllName.c_str());
    ASSERT_NE(module, nullptr);
    const auto setDelay = reinterpret_cast<SetDelayFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "VelkTestSetReadDelay")));
    ASSERT_NE(setDelay, nullptr) << "not the test build of the DLL";
    setDelay(milliseconds);
}

std::wstring ShellMenuTest::dllFolder() {
    return suite->dlls;
}
ViewerStartLog& ShellMenuTest::starts() {
    return *suite->log;
}

BuiltMenu ShellMenuTest::build(const std::vector<std::wstring>& paths, UINT idCmdFirst,
                               UINT idCmdLast, UINT flags, bool handMade) {
    BuiltMenu built;
    EXPECT_EQ(CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                               built.init.putVoid()),
              S_OK);
    if (!built.init)
        return built;
    ComRef<IDataObject> data = handMade ? handMadeDataObject(paths) : shellDataObject(paths);
    EXPECT_TRUE(data);
    EXPECT_EQ(built.init->Initialize(nullptr, data.get(), nullptr), S_OK);
    EXPECT_EQ(built.init->QueryInterface(IID_IContextMenu, built.menu.putVoid()), S_OK);
    rebuild(built, idCmdFirst, idCmdLast, flags);
    return built;
}

void ShellMenuTest::rebuild(BuiltMenu& built, UINT idCmdFirst, UINT idCmdLast, UINT flags) {
    built.host.reset(CreatePopupMenu());
    AppendMenuW(built.host.get(), MF_STRING, 1, L"Open");
    AppendMenuW(built.host.get(), MF_STRING, 2, L"Properties");
    if (!built.menu)
        return;
    built.result = built.menu->QueryContextMenu(built.host.get(), 1, idCmdFirst, idCmdLast, flags);
    built.entries = readMenu(built.host.get());
}
