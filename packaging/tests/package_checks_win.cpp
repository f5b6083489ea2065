// What the installer leaves behind, checked from inside Wine after msi_test.sh has run
// msiexec: the installed files and their version records, the one "Installed apps" entry,
// the menu built through the installed DLL, and, after removal, that nothing is left.
// VELK_EXPECTED_VERSION names the version that should be installed (e.g. "1.0.1").

#include "registry_values.h"
#include "shell_menu_fixture.h"

#include "engine/unique_handle.h"
#include "engine/utf16.h"

#include <windows.h>

#include <msi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using velk::UniqueRegKey;

const wchar_t kUpgradeCode[] = L"{69955865-577D-433C-AF26-F0DB48A0D8CC}";
const wchar_t kProductName[] = L"Velkora hash tools";
const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kClassKey[] = L"CLSID\\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}";
const wchar_t kServerKey[] = L"CLSID\\{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}\\InprocServer32";

std::string narrow(const std::wstring& text) {
    return velk::toUtf8(text);
}

std::wstring expectedVersion() {
    const char* version = std::getenv("VELK_EXPECTED_VERSION");
    return velk::toUtf16(version != nullptr ? version : "");
}

// C:\Program Files\Velkora\ (the 64-bit program folder).
std::wstring installFolder() {
    PWSTR programFiles = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &programFiles)))
        folder = std::wstring(programFiles) + L"\\Velkora\\";
    CoTaskMemFree(programFiles);
    return folder;
}

const wchar_t* const kInstalledFiles[] = {L"velkscope.exe", L"velkshell.dll", L"velksum.exe",
                                          L"README-windows.txt"};

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A REG_SZ or REG_EXPAND_SZ value as text; false when missing or of another type.
bool readText(HKEY root, const std::wstring& path, const wchar_t* name, std::wstring& text) {
    const StoredValue value = readValue(root, path, name);
    if (!value.present || (value.type != REG_SZ && value.type != REG_EXPAND_SZ))
        return false;
    text.assign(reinterpret_cast<const wchar_t*>(value.bytes.data()),
                value.bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return true;
}

// "Installed apps" entries of this product: the uninstall subkeys with its display name.
struct UninstallEntry {
    std::wstring key;
    std::map<std::wstring, std::wstring> values;
};

std::vector<UninstallEntry> uninstallEntries() {
    std::vector<UninstallEntry> entries;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return entries;
    UniqueRegKey uninstall(raw);
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(uninstall.get(), index, name, &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring path = std::wstring(kUninstallKey) + L"\\" + name;
        std::wstring displayName;
        if (!readText(HKEY_LOCAL_MACHINE, path, L"DisplayName", displayName) ||
            displayName != kProductName)
            continue;
        UninstallEntry entry{name, {}};
        for (const wchar_t* value :
             {L"DisplayVersion", L"Publisher", L"UninstallString", L"InstallLocation", L"Size"}) {
            std::wstring text;
            if (readText(HKEY_LOCAL_MACHINE, path, value, text))
                entry.values[value] = text;
        }
        entries.push_back(entry);
    }
    return entries;
}

// Products installed under the package's upgrade code, as Windows Installer counts them.
std::vector<std::wstring> relatedProducts() {
    std::vector<std::wstring> products;
    for (DWORD index = 0;; ++index) {
        wchar_t product[39] = {};
        if (MsiEnumRelatedProductsW(kUpgradeCode, 0, index, product) != ERROR_SUCCESS)
            break;
        products.emplace_back(product);
    }
    return products;
}

// The version record of a file: the fixed part and the strings of 040904B0.
struct VersionRecord {
    bool present = false;
    std::wstring fileVersion;    // from the fixed part, "a.b.c.d"
    std::wstring productVersion; // from the fixed part
    DWORD fileType = 0;
    std::map<std::wstring, std::wstring> strings;
};

std::wstring fourParts(DWORD high, DWORD low) {
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
           std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
}

VersionRecord readVersionRecord(const std::wstring& path) {
    VersionRecord record;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return record;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return record;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BD)
        return record;
    record.present = true;
    record.fileVersion = fourParts(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    record.productVersion = fourParts(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    record.fileType = fixed->dwFileType;
    for (const wchar_t* name :
         {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
          L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &chars) &&
            text != nullptr)
            record.strings[name] = text;
    }
    return record;
}

TEST(Installed, FilesCarryTheVersionRecordOfTheBuild) {
    const std::wstring version = expectedVersion();
    ASSERT_FALSE(version.empty()) << "VELK_EXPECTED_VERSION is not set";
    const std::wstring fixedVersion = version + L".0";
    struct Binary {
        const wchar_t* name;
        const wchar_t* internalName;
        const wchar_t* description;
        DWORD type;
    };
    const Binary binaries[] = {
        {L"velkscope.exe", L"velkscope", L"Velkscope file hash viewer", VFT_APP},
        {L"velkshell.dll", L"velkshell", L"Velkora File Explorer extension", VFT_DLL},
        {L"velksum.exe", L"velksum", L"Velksum command-line file hashes", VFT_APP},
    };
    for (const Binary& binary : binaries) {
        SCOPED_TRACE(narrow(binary.name));
        const VersionRecord record = readVersionRecord(installFolder() + binary.name);
        ASSERT_TRUE(record.present);
        EXPECT_EQ(record.fileVersion, fixedVersion);
        EXPECT_EQ(record.productVersion, fixedVersion);
        EXPECT_EQ(record.fileType, binary.type);
        const std::map<std::wstring, std::wstring> expected = {
            {L"CompanyName", L"Velkora"},
            {L"FileDescription", binary.description},
            {L"FileVersion", version},
            {L"InternalName", binary.internalName},
            {L"LegalCopyright", L"Copyright (C) 2026 Velkora"},
            {L"OriginalFilename", binary.name},
            {L"ProductName", kProductName},
            {L"ProductVersion", version},
        };
        EXPECT_EQ(record.strings, expected);
    }
}

TEST(Installed, OneProductWithItsInstalledAppsEntry) {
    for (const wchar_t* file : kInstalledFiles)
        EXPECT_TRUE(fileExists(installFolder() + file)) << narrow(file);

    const std::vector<std::wstring> products = relatedProducts();
    ASSERT_EQ(products.size(), 1u);
    const std::vector<UninstallEntry> entries = uninstallEntries();
    ASSERT_EQ(entries.size(), 1u);
    const UninstallEntry& entry = entries.front();
    EXPECT_EQ(entry.key, products.front());
    EXPECT_EQ(entry.values.at(L"DisplayVersion"), expectedVersion());
    EXPECT_EQ(entry.values.at(L"Publisher"), L"Velkora");
    EXPECT_EQ(entry.values.at(L"InstallLocation"), installFolder());
    // Uninstalling from "Installed apps" runs the installer on this very product.
    std::wstring uninstall = entry.values.at(L"UninstallString");
    CharUpperW(&uninstall[0]);
    EXPECT_NE(uninstall.find(L"MSIEXEC.EXE /X" + entry.key), std::wstring::npos)
        << narrow(entry.values.at(L"UninstallString"));
    // The size in kilobytes: every installed byte, rounded up.
    unsigned long long bytes = 0;
    for (const wchar_t* file : kInstalledFiles) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(
            GetFileAttributesExW((installFolder() + file).c_str(), GetFileExInfoStandard, &data));
        bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    EXPECT_EQ(entry.values.at(L"Size"), std::to_wstring((bytes + 1023) / 1024));
}

// The menu tests' fixture, through the DLL the package registered.
class InstalledMenu : public ShellMenuTest {
  protected:
    static void SetUpTestSuite() { setUpSuite(L""); }
};

TEST_F(InstalledMenu, IsBuiltByTheInstalledDll) {
    std::wstring server;
    ASSERT_TRUE(readText(HKEY_CLASSES_ROOT, kServerKey, nullptr, server));
    EXPECT_EQ(server, installFolder() + L"velkshell.dll");

    const std::wstring path = file(L"installed menu.txt", "The quick brown fox\n");
    const std::string md5 = digestsOf(path).at("MD5");
    const BuiltMenu built = build({path});
    ASSERT_EQ(built.entries.size(), 3u);
    const MenuEntryView& hashes = built.ours();
    EXPECT_EQ(hashes.text, narrowToWide("Hashes " + md5.substr(0, 4) + "-" + md5.substr(28)));
    ASSERT_EQ(hashes.children.size(), 4u);
    EXPECT_EQ(hashes.children[3].text, L"Open Velkscope...");

    // The object came from the installed file, not from any other copy.
    const HMODULE loaded = GetModuleHandleW(server.c_str());
    EXPECT_NE(loaded, nullptr);
}

TEST(Removed, NothingIsLeft) {
    for (const wchar_t* file : kInstalledFiles)
        EXPECT_FALSE(fileExists(installFolder() + file)) << narrow(file);
    EXPECT_TRUE(relatedProducts().empty());
    EXPECT_TRUE(uninstallEntries().empty());
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kClassKey));
    for (const wchar_t* key : {L"*\\shellex\\ContextMenuHandlers\\Velkora",
                               L"*\\shellex\\PropertySheetHandlers\\Velkora",
                               L"lnkfile\\shellex\\PropertySheetHandlers\\Velkora"})
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, key)) << narrow(key);
    std::wstring approved;
    EXPECT_FALSE(
        readText(HKEY_LOCAL_MACHINE,
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
                 L"{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}", approved));
}

} // namespace
