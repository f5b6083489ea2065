// windows.txt as any process (or a crash half-way through a write) may leave it: the reader
// never fails, and what it reads survives a write and a second read unchanged.

#include "viewer/window_list.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto entries = velk::parseViewerWindowList(text);
    const std::string written = velk::formatViewerWindowList(entries);
    std::size_t lines = 0;
    for (char c : written)
        lines += c == '\n';
    if (lines != entries.size())
        std::abort();
    if (!written.empty() && written.back() != '\n')
        std::abort();
    const auto again = velk::parseViewerWindowList(written);
    if (again.size() != entries.size())
        std::abort();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (again[i].processId != entries[i].processId || again[i].stamp != entries[i].stamp) {
            std::abort();
        }
    }
    // A process id field is its digits exactly when they fit in 32 bits.
    const std::string field = text.substr(0, text.find(' '));
    const std::uint32_t id = velk::parseProcessIdField(field);
    if (id != 0 && std::to_string(id).size() > 10)
        std::abort();
    return 0;
}
