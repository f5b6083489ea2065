#include "reliability_page_fixture_win.h"

#include "engine/pass/hash_file.h"
#include "engine/utf16.h"
#include "shellext/com/module.h"
#include "shellext/page/page_worker.h"
#include "shellext/page/property_page.h"

#include <objbase.h>

#include <atomic>

namespace velk::test {

void HostilePage::SetUp() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    moduleHandle = GetModuleHandleW(nullptr);
    ASSERT_EQ(moduleRefCountValue(), 0);
    ASSERT_EQ(pageHashMessagesAlive(), 0);
}

void HostilePage::TearDown() {
    collector.destroyUnused();
    // Workers of closed pages end by themselves; nothing may stay behind once they have.
    EXPECT_TRUE(pumpUntil([] { return moduleRefCountValue() == 0; }, 120000))
        << "module count " << moduleRefCountValue();
    EXPECT_EQ(pageHashMessagesAlive(), 0);
    CoUninitialize();
}

std::unique_ptr<ModelessSheet> HostilePage::openPage(const std::wstring& path) {
    collector.pages.clear();
    EXPECT_EQ(addHashPages({path}, &PageCollector::add, collector.param()), S_OK);
    EXPECT_EQ(collector.pages.size(), 1u) << toUtf8(path);
    auto sheet = std::make_unique<ModelessSheet>(collector.pages);
    EXPECT_NE(sheet->page(), nullptr);
    return sheet;
}

std::vector<std::wstring> HostilePage::settledRows(HWND page) {
    const bool settled = pumpUntil(
        [page] {
            const std::vector<std::wstring> rows = digestRows(page);
            return !rows.empty() && rows.front() != L"computing...";
        },
        kSettleMs);
    EXPECT_TRUE(settled) << "the rows still say computing...";
    return settled ? digestRows(page) : std::vector<std::wstring>();
}

HashResults HostilePage::digestsOfBytes(const std::string& bytes) {
    static std::atomic<unsigned> counter{0};
    const std::wstring copy = dir.file(L"expected-" + std::to_wstring(counter++) + L".bin");
    HashResults expected;
    EXPECT_TRUE(writeFileBytes(copy, bytes));
    EXPECT_TRUE(computeAllHashes(toUtf8(copy), expected, nullptr));
    DeleteFileW(copy.c_str());
    return expected;
}

std::vector<std::wstring> digestRows(HWND page) {
    std::vector<std::wstring> rows;
    for (const ControlView& v : controlsOfClass(page, L"Edit"))
        rows.push_back(v.text);
    return rows;
}

std::wstring headerText(HWND page) {
    const std::vector<ControlView> all = pageControls(page);
    return all.empty() ? L"(no controls)" : all.front().text;
}

bool checkEnabled(HWND page) {
    const std::vector<ControlView> all = pageControls(page);
    const ControlView* check = controlWithId(all, 3000);
    return check != nullptr && check->enabled;
}

void expectDigestRows(HWND page, const HashResults& expected) {
    const std::vector<ControlView> all = pageControls(page);
    const std::vector<std::wstring> rows = digestRows(page);
    ASSERT_EQ(rows.size(), kAlgorithmNames.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string& name = kAlgorithmNames[i];
        EXPECT_EQ(rows[i], toUtf16(expected.at(name))) << name;
        const ControlView* copy = controlWithId(all, 2000 + static_cast<int>(i));
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(copy->enabled) << name;
    }
    EXPECT_TRUE(checkEnabled(page));
}

void expectUnreadableRows(HWND page) {
    const std::vector<ControlView> all = pageControls(page);
    const std::vector<std::wstring> rows = digestRows(page);
    ASSERT_EQ(rows.size(), kAlgorithmNames.size());
    for (const std::wstring& row : rows)
        EXPECT_EQ(row, L"(unreadable)");
    for (int id = 2000; id <= 2010; ++id) {
        const ControlView* copy = controlWithId(all, id);
        ASSERT_NE(copy, nullptr);
        EXPECT_FALSE(copy->enabled) << id;
    }
    EXPECT_FALSE(checkEnabled(page));
    for (const ControlView& v : controlsOfClass(page, L"Static"))
        EXPECT_EQ(v.text.find(L"menu shows"), std::wstring::npos);
}

std::string patternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 0x12345678;
    for (std::size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<char>(x >> 24);
    }
    return bytes;
}

} // namespace velk::test
