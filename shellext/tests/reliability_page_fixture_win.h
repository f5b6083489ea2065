#pragma once
// The "Hashes" page on hostile files and clipboards: a fixture that opens one page in a
// property sheet of this program and checks that nothing stays behind when it closes, and
// what the rows show.

#include "page_test_support_win.h"

#include "engine/algorithms.h"
#include "settings/tests/app_data_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velk::test {

constexpr DWORD kSettleMs = 60000;

class HostilePage : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Exactly one page for `path`, in a sheet; no message has been dispatched since, so the
    // worker has not been able to report yet.
    std::unique_ptr<ModelessSheet> openPage(const std::wstring& path);

    // The page's rows once they left "computing..." (empty when they never did in time).
    std::vector<std::wstring> settledRows(HWND page);

    // The digests of `bytes`, computed by the engine on a file of this fixture's folder.
    HashResults digestsOfBytes(const std::string& bytes);

    PageTempDir dir;
    PageCollector collector;
    ScopedAppData appData{"reliability-appdata"};
};

std::vector<std::wstring> digestRows(HWND page);
// The first control of the page: the header line.
std::wstring headerText(HWND page);
bool checkEnabled(HWND page);

// Every row shows its digest and has its Copy button enabled, and Check is enabled.
void expectDigestRows(HWND page, const HashResults& expected);
// Every row "(unreadable)", Copy and Check disabled, no preview line.
void expectUnreadableRows(HWND page);

// Deterministic bytes that differ between any two prefixes' digests.
std::string patternBytes(std::size_t size);

} // namespace velk::test
