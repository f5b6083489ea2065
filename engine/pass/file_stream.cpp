#include "engine/pass/file_stream.h"

#ifdef _WIN32
#include "engine/long_path.h"
#include "engine/utf16.h"
#endif

namespace velk {

FilePtr openForHashing(const std::string& utf8Path) {
#ifdef _WIN32
    return FilePtr(_wfopen(extendedLengthPath(toUtf16(utf8Path)).c_str(), L"rb"));
#else
    return FilePtr(std::fopen(utf8Path.c_str(), "rb"));
#endif
}

} // namespace velk
