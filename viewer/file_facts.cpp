#include "viewer/file_facts.h"

namespace velk {

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string sizeLineText(std::uint64_t bytes) {
    return std::to_string(bytes) + " bytes";
}

} // namespace velk
