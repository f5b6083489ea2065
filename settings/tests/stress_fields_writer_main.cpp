// settings_stress_fields_writer WRITER ITERATIONS turns|free LOCKNAME: one writer of the
// eight-writer stress test, started by it eight times; writes its report beside config.json.

#include "stress_fields.h"

#include "engine/utf16.h"

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 5)
        return 2;
    const int writer = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    const int iterations = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    const bool turns = std::wstring(argv[3]) == L"turns";
    if (writer < 0 || writer >= velk::test::kFieldWriters)
        return 2;
    if (!velk::test::waitForStartGate())
        return 3;
    velk::test::writeFieldWriterReport(
        writer, velk::test::runFieldWriter(writer, iterations, turns, velk::toUtf8(argv[4])));
    return 0;
}
