// The extended-length form a long path takes at the Windows boundary.

#include "engine/long_path.h"

#include <gtest/gtest.h>

namespace velk::test {
namespace {

TEST(LongPath, OnlyLongAbsolutePathsTakeTheExtendedForm) {
    const std::wstring tail(270, L'x');
    const std::wstring short259 = L"C:\\" + std::wstring(256, L's');
    ASSERT_EQ(short259.size(), 259u);
    struct Case {
        const char* what;
        std::wstring in, out;
    } cases[] = {
        {"259 characters stay", short259, short259},
        {"260 characters of a drive path", short259 + L"t", L"\\\\?\\" + short259 + L"t"},
        {"forward slashes of a long drive path", L"d:/" + tail + L"/f.bin",
         L"\\\\?\\d:\\" + tail + L"\\f.bin"},
        {"a long share path", L"\\\\server\\share\\" + tail, L"\\\\?\\UNC\\server\\share\\" + tail},
        {"already extended", L"\\\\?\\C:\\" + tail, L"\\\\?\\C:\\" + tail},
        {"a device path", L"\\\\.\\C:\\" + tail, L"\\\\.\\C:\\" + tail},
        {"relative", L"folder\\" + tail, L"folder\\" + tail},
        {"empty", L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(extendedLengthPath(c.in), c.out) << c.what;
}

} // namespace
} // namespace velk::test
