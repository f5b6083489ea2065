// regsvr32 on the built DLL: the exact registry layout, idempotence, the legacy clean-up
// and unregistration.

#include "registry_values.h"
#include "shell_dll.h"

#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using velk::UniqueRegKey;

std::string velkNarrow(const std::wstring& text) {
    return velk::toUtf8(text);
}

const wchar_t kClsidText[] = L"{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}";
const wchar_t kClassKey[] = L"CLSID\\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}";
const wchar_t kServerKey[] = L"CLSID\\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}\\InprocServer32";
const wchar_t kApprovedKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const wchar_t* const kHandlerKeys[] = {
    L"*\\shellex\\ContextMenuHandlers\\Velkora",
    L"*\\shellex\\PropertySheetHandlers\\Velkora",
    L"lnkfile\\shellex\\PropertySheetHandlers\\Velkora",
};
const wchar_t* const kLegacyKeys[] = {
    L"*\\shellex\\ContextMenuHandlers\\Ostrivane",
    L"*\\shellex\\PropertySheetHandlers\\Ostrivane",
    L"lnkfile\\shellex\\PropertySheetHandlers\\Ostrivane",
};

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// REG_SZ whose bytes are exactly the text and its terminating NUL.
void expectString(HKEY root, const std::wstring& path, const wchar_t* name,
                  const std::wstring& text) {
    SCOPED_TRACE(testing::Message() << "key " << velkNarrow(path));
    const StoredValue value = readValue(root, path, name);
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(value.bytes.size(), (text.size() + 1) * sizeof(wchar_t));
    std::wstring stored(reinterpret_cast<const wchar_t*>(value.bytes.data()), text.size() + 1);
    EXPECT_EQ(stored, text + L'\0');
}

// Every value and subkey below a key, for comparing two registrations.
void snapshot(HKEY root, const std::wstring& path, std::map<std::wstring, StoredValue>& out) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return;
    UniqueRegKey key(raw);
    out[path + L"\\"].present = true;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        DWORD type = 0;
        BYTE data[1024];
        DWORD dataSize = sizeof(data);
        if (RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        StoredValue& v = out[path + L"|" + std::wstring(name, nameLength)];
        v.present = true;
        v.type = type;
        v.bytes.assign(data, data + dataSize);
    }
    std::vector<std::wstring> children;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key.get(), index, name, &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name, nameLength);
    }
    for (const std::wstring& child : children)
        snapshot(root, path + L"\\" + child, out);
}

std::map<std::wstring, StoredValue> snapshotLayout() {
    std::map<std::wstring, StoredValue> all;
    snapshot(HKEY_CLASSES_ROOT, kClassKey, all);
    for (const wchar_t* key : kHandlerKeys)
        snapshot(HKEY_CLASSES_ROOT, key, all);
    all[L"approved"] = readValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText);
    return all;
}

void createLegacyKeys() {
    for (const wchar_t* path : kLegacyKeys) {
        HKEY raw = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(path) + L"\\Below").c_str(), 0,
                                  nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &raw,
                                  nullptr),
                  ERROR_SUCCESS);
        UniqueRegKey key(raw);
        ASSERT_TRUE(keyExists(HKEY_CLASSES_ROOT, path));
    }
}

void expectNothingRegistered() {
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kClassKey));
    for (const wchar_t* key : kHandlerKeys)
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << velkNarrow(key);
    for (const wchar_t* key : kLegacyKeys)
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << velkNarrow(key);
    EXPECT_FALSE(readValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText).present);
}

class Registration : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(runRegsvr32(L"/s /u " + quoted(dllPath)), 0); }
    void TearDown() override { runRegsvr32(L"/s /u " + quoted(dllPath)); }

    const std::wstring dllPath = testProgramFolder() + L"velkshell.dll";
};

TEST_F(Registration, WritesTheExactLayoutAndRemovesLegacyKeys) {
    createLegacyKeys();
    ASSERT_EQ(runRegsvr32(L"/s " + quoted(dllPath)), 0);

    expectString(HKEY_CLASSES_ROOT, kClassKey, nullptr, L"Velkora");
    expectString(HKEY_CLASSES_ROOT, kServerKey, nullptr, dllPath);
    expectString(HKEY_CLASSES_ROOT, kServerKey, L"ThreadingModel", L"Apartment");
    for (const wchar_t* key : kHandlerKeys)
        expectString(HKEY_CLASSES_ROOT, key, nullptr, kClsidText);
    expectString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText, L"Velkora");
    for (const wchar_t* key : kLegacyKeys)
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << velkNarrow(key);

    // Nothing beyond the table: the class key (itself, one value), the server key (itself,
    // two values), three handler keys (themselves, one value each), the approval value.
    EXPECT_EQ(snapshotLayout().size(), 2u + 3u + 3u * 2u + 1u);
}

TEST_F(Registration, RegisteringTwiceChangesNothing) {
    ASSERT_EQ(runRegsvr32(L"/s " + quoted(dllPath)), 0);
    const auto once = snapshotLayout();
    ASSERT_EQ(runRegsvr32(L"/s " + quoted(dllPath)), 0);
    EXPECT_TRUE(snapshotLayout() == once);
}

TEST_F(Registration, ServerPathIsWhereverTheDllWasLoadedFrom) {
    const std::wstring folder = testProgramFolder() + L"registration copy";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\velkshell.dll";
    ASSERT_TRUE(CopyFileW(dllPath.c_str(), copy.c_str(), FALSE));
    ASSERT_EQ(runRegsvr32(L"/s " + quoted(copy)), 0);
    expectString(HKEY_CLASSES_ROOT, kServerKey, nullptr, copy);
    ASSERT_EQ(runRegsvr32(L"/s /u " + quoted(copy)), 0);
    expectNothingRegistered();
}

// A DLL in a folder whose path is 270 characters long: the whole path is registered, or
// nothing and the tool fails; never a cut path. The platform's COM here refuses any server
// path beyond MAX_PATH, so the value is read back and the DLL loaded from it hands out its
// class factory.
TEST_F(Registration, DllInA270CharacterFolderRegistersItsWholePath) {
    std::wstring folder = testProgramFolder() + L"long registration ";
    folder += std::wstring(270 - folder.size(), L'r');
    ASSERT_EQ(folder.size(), 270u);
    const std::wstring extended = L"\\\\?\\" + folder;
    CreateDirectoryW(extended.c_str(), nullptr);
    const std::wstring copy = folder + L"\\velkshell.dll";
    ASSERT_TRUE(CopyFileW(dllPath.c_str(), (L"\\\\?\\" + copy).c_str(), FALSE));

    const long exitCode = runRegsvr32(L"/s " + quoted(copy));
    const StoredValue server = readValue(HKEY_CLASSES_ROOT, kServerKey, nullptr);
    const std::wstring serverPath(reinterpret_cast<const wchar_t*>(server.bytes.data()),
                                  server.bytes.size() / sizeof(wchar_t));
    if (exitCode == 0) {
        ASSERT_TRUE(server.present);
        EXPECT_EQ(serverPath, copy + L'\0');
        velk::UniqueModule loaded(LoadLibraryW(serverPath.c_str()));
        ASSERT_TRUE(loaded);
        const auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(loaded.get(), "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        IClassFactory* factory = nullptr;
        ASSERT_EQ(getClassObject(kTestClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        IUnknown* object = nullptr;
        EXPECT_EQ(
            factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&object)),
            S_OK);
        if (object != nullptr)
            object->Release();
        factory->Release();
    } else {
        EXPECT_FALSE(server.present) << velkNarrow(serverPath);
    }
    std::printf("[ long folder ] regsvr32 exit %ld, registered %s\n", exitCode,
                server.present ? "the whole path" : "nothing");
    runRegsvr32(L"/s /u " + quoted(copy));
    DeleteFileW((L"\\\\?\\" + copy).c_str());
    RemoveDirectoryW(extended.c_str());
}

TEST_F(Registration, UnregisterRemovesEverythingIncludingLegacyKeys) {
    ASSERT_EQ(runRegsvr32(L"/s " + quoted(dllPath)), 0);
    createLegacyKeys();
    ASSERT_EQ(runRegsvr32(L"/s /u " + quoted(dllPath)), 0);
    expectNothingRegistered();
    // The shared Approved key stays; only our value goes.
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, kApprovedKey));
}

TEST_F(Registration, UnregisteringTwiceSucceeds) {
    ASSERT_EQ(runRegsvr32(L"/s /u " + quoted(dllPath)), 0);
    ASSERT_EQ(runRegsvr32(L"/s /u " + quoted(dllPath)), 0);
    const ShellDll& dll = loadShellDll(dllPath);
    ASSERT_NE(dll.unregisterServer, nullptr);
    EXPECT_EQ(dll.unregisterServer(), S_OK);
    EXPECT_EQ(dll.unregisterServer(), S_OK);
    expectNothingRegistered();
}

TEST_F(Registration, DirectCallsAgreeWithTheTool) {
    const ShellDll& dll = loadShellDll(dllPath);
    ASSERT_NE(dll.registerServer, nullptr);
    ASSERT_EQ(dll.registerServer(), S_OK);
    expectString(HKEY_CLASSES_ROOT, kServerKey, nullptr, dllPath);
    EXPECT_EQ(dll.unregisterServer(), S_OK);
    expectNothingRegistered();
}

TEST(RegistrationTool, MissingDllIsReportedByTheTool) {
    // The tool's own exit code for a DLL it cannot load: what install.cmd passes on.
    EXPECT_NE(runRegsvr32(L"/s " + quoted(testProgramFolder() + L"no-such-velkshell.dll")), 0);
}

} // namespace
