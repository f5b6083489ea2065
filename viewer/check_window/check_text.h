#pragma once
// The texts of the check window: the verdict of each row, the progress line, the summary, and
// the lines of a list being made. All UTF-8.

#include "checksum/listed_check.h"
#include "viewer/status_text.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace velk {

// Where one row of the window stands.
enum class RowState { Waiting, Working, Ok, Failed, Missing, Unreadable, Skipped };

RowState rowStateOf(ListedVerdict verdict); // Cancelled stays Working: the window is closing

// "waiting", "checking" (or "hashing" while a list is made), "OK", "FAILED", "MISSING",
// "UNREADABLE", "SKIPPED".
std::string rowStateText(RowState state, bool making);

// Success for OK; Failure for FAILED, MISSING and UNREADABLE; Warning for SKIPPED; Neutral
// while waiting or working.
StatusKind rowStateKind(RowState state);

struct CheckTally {
    std::size_t total = 0; // entries of the list
    std::size_t ok = 0;
    std::size_t failed = 0;
    std::size_t missing = 0;
    std::size_t unreadable = 0;
    std::size_t skipped = 0;
};
void countRow(CheckTally& tally, RowState state);

// "12 of 40 files, 1.2 of 3.4 GiB" (the bytes as every progress line writes them).
std::string fileProgressText(std::size_t doneFiles, std::size_t totalFiles, std::uint64_t doneBytes,
                             std::uint64_t totalBytes);

// "SHA256SUMS: 40 entries" ("1 entry").
std::string checkHeaderText(const std::string& listName, std::size_t entries);

// When every entry was checked: "✔ All 40 files match." (Success; "✔ The listed file
// matches." for one), or "✘ 2 of 40 files failed, 1 missing." with each kind of problem
// counted in the order failed, missing, unreadable, skipped (Failure).
StatusMessage checkSummary(const CheckTally& tally);

// A list the reader refused or that names no file: "Cannot check " + name + ": " + reason +
// "." (Failure).
StatusMessage refusedListStatus(const std::string& listName, const std::string& reason);

// Files that cannot go in one list: "Cannot make a list of these files: " + reason + "."
// (Failure).
StatusMessage refusedFilesStatus(const std::string& reason);

// Making a list: "5 files in C:\Downloads\" as the header; "✔ 5 files hashed with SHA-256."
// (Success) or "✘ 1 of 5 files could not be read; the list leaves it out." (Failure) when
// the pass is done.
std::string makeHeaderText(std::size_t files, const std::string& folder);
StatusMessage madeSummary(std::size_t files, std::size_t unreadable, const std::string& algorithm);

// After the Save dialog: "Saved SHA256SUMS with 5 files." (Success) or "Could not save " +
// name + "." (Failure).
StatusMessage savedStatus(const std::string& listName, std::size_t files, bool saved);

} // namespace velk
