#pragma once
// Names of save results in test messages.

#include "settings/file_replace.h"

#include <ostream>

namespace velk {

inline const char* saveResultName(SaveResult result) {
    switch (result) {
    case SaveResult::Saved:
        return "Saved";
    case SaveResult::Busy:
        return "Busy";
    case SaveResult::WriteFailed:
        return "WriteFailed";
    case SaveResult::RenameRefused:
        return "RenameRefused";
    case SaveResult::Unreadable:
        return "Unreadable";
    }
    return "?";
}

inline void PrintTo(SaveResult result, std::ostream* out) {
    *out << saveResultName(result);
}

} // namespace velk
