#include "viewer/compare_status.h"

#include "engine/digest_compare.h"

namespace velk {

StatusMessage compareStatus(const CompareProgress& p, const OwnPass& own) {
    if (own.failed)
        return hashFailureStatus(own.error);
    if (p.otherDone && !p.otherOk)
        return {"Could not read " + p.otherName + ": " + p.otherError, StatusKind::Failure};
    if (p.thisSize && p.otherSize && *p.thisSize != *p.otherSize) {
        return {"\xE2\x9C\x98 DIFFERENT  " + p.otherName + " is " + std::to_string(*p.otherSize) +
                    " bytes, this file is " + std::to_string(*p.thisSize) + " bytes.",
                StatusKind::Failure};
    }
    if (own.ready && p.otherDone) {
        if (compareDigests(own.results, p.otherResults).identical) {
            return {"\xE2\x9C\x94 IDENTICAL  all eleven digests match " + p.otherName + ".",
                    StatusKind::Success};
        }
        return {"\xE2\x9C\x98 DIFFERENT  " + p.otherName + " has other digests.",
                StatusKind::Failure};
    }
    return {"Comparing with " + p.otherName + "...", StatusKind::Neutral};
}

RowMark rowMark(const HashResults& own, const CompareProgress& p, const std::string& name) {
    if (!p.otherDone || !p.otherOk)
        return RowMark::None;
    const std::optional<bool> agree = digestsAgree(own, p.otherResults, name);
    if (!agree)
        return RowMark::None;
    return *agree ? RowMark::Agrees : RowMark::Differs;
}

std::string markedRowName(const std::string& name, RowMark mark) {
    switch (mark) {
    case RowMark::Agrees:
        return "\xE2\x9C\x94 " + name;
    case RowMark::Differs:
        return "\xE2\x9C\x98 " + name;
    case RowMark::None:
        break;
    }
    return name;
}

StatusKind rowMarkKind(RowMark mark) {
    switch (mark) {
    case RowMark::Agrees:
        return StatusKind::Success;
    case RowMark::Differs:
        return StatusKind::Failure;
    case RowMark::None:
        break;
    }
    return StatusKind::Neutral;
}

StatusMessage dropOneFileStatus() {
    return {"Only one file can be dropped here: it is compared with this file.",
            StatusKind::Warning};
}

} // namespace velk
