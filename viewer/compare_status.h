#pragma once
// What the viewer says while it compares its file with a second one: the status line, the
// mark of each row, and the answer to a drop it cannot compare.

#include "engine/algorithms.h"
#include "viewer/status_text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velk {

// How far the comparison with the other file has come.
struct CompareProgress {
    std::string otherName;                  // file name of the other file
    std::optional<std::uint64_t> thisSize;  // no value when it could not be read
    std::optional<std::uint64_t> otherSize; // arrives before the other's digests
    bool otherDone = false;                 // the other's pass has ended
    bool otherOk = false;
    std::string otherError; // the engine's message when the other's pass failed
    HashResults otherResults;
};

// This file's own pass, as the window knows it.
struct OwnPass {
    const HashResults& results;
    bool ready = false;  // digests arrived
    bool failed = false; // the pass failed with `error`
    const std::string& error;
};

// The status line, by precedence: this file unreadable ("Could not read file: ..."); the other
// unreadable ("Could not read NAME: ..."); sizes that differ ("✘ DIFFERENT  NAME is N bytes,
// this file is M bytes.", as soon as both sizes are known); once both passes are done
// "✔ IDENTICAL  all eleven digests match NAME." or "✘ DIFFERENT  NAME has other digests.";
// before that "Comparing with NAME..." (Neutral).
StatusMessage compareStatus(const CompareProgress& progress, const OwnPass& own);

// One row's mark: none until both digests of the row are there.
enum class RowMark { None, Agrees, Differs };
RowMark rowMark(const HashResults& own, const CompareProgress& progress, const std::string& name);

// "✔ SHA-256" or "✘ SHA-256"; the bare name without a mark.
std::string markedRowName(const std::string& name, RowMark mark);

// The colour class of a marked row (Success or Failure); Neutral without a mark.
StatusKind rowMarkKind(RowMark mark);

// The Warning when a drop holds a folder or several files.
StatusMessage dropOneFileStatus();

} // namespace velk
