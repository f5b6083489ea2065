// settings_stress_writer WRITER ITERATIONS: saves that writer's stress records in a loop, for
// the concurrency test, which starts several of these at once.

#include "settings/settings.h"
#include "stress_record.h"

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    const int writer = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    const int iterations = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    for (int i = 0; i < iterations; ++i)
        velk::saveSettings(velk::test::stressRecord(writer, i));
    return 0;
}
