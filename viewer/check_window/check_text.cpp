#include "viewer/check_window/check_text.h"

#include "engine/progress/progress_text.h"

namespace velk {
namespace {

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

RowState rowStateOf(ListedVerdict verdict) {
    switch (verdict) {
    case ListedVerdict::Ok:
        return RowState::Ok;
    case ListedVerdict::Failed:
        return RowState::Failed;
    case ListedVerdict::Missing:
        return RowState::Missing;
    case ListedVerdict::Unreadable:
        return RowState::Unreadable;
    case ListedVerdict::Skipped:
        return RowState::Skipped;
    case ListedVerdict::Cancelled:
        break;
    }
    return RowState::Working;
}

std::string rowStateText(RowState state, bool making) {
    switch (state) {
    case RowState::Waiting:
        return "waiting";
    case RowState::Working:
        return making ? "hashing" : "checking";
    case RowState::Ok:
        return "OK";
    case RowState::Failed:
        return "FAILED";
    case RowState::Missing:
        return "MISSING";
    case RowState::Unreadable:
        return "UNREADABLE";
    case RowState::Skipped:
        return "SKIPPED";
    }
    return {};
}

StatusKind rowStateKind(RowState state) {
    switch (state) {
    case RowState::Ok:
        return StatusKind::Success;
    case RowState::Failed:
    case RowState::Missing:
    case RowState::Unreadable:
        return StatusKind::Failure;
    case RowState::Skipped:
        return StatusKind::Warning;
    case RowState::Waiting:
    case RowState::Working:
        break;
    }
    return StatusKind::Neutral;
}

void countRow(CheckTally& tally, RowState state) {
    switch (state) {
    case RowState::Ok:
        ++tally.ok;
        break;
    case RowState::Failed:
        ++tally.failed;
        break;
    case RowState::Missing:
        ++tally.missing;
        break;
    case RowState::Unreadable:
        ++tally.unreadable;
        break;
    case RowState::Skipped:
        ++tally.skipped;
        break;
    case RowState::Waiting:
    case RowState::Working:
        break;
    }
}

std::string fileProgressText(std::size_t doneFiles, std::size_t totalFiles, std::uint64_t doneBytes,
                             std::uint64_t totalBytes) {
    return std::to_string(doneFiles) + " of " + plural(totalFiles, "file", "files") + ", " +
           formatBytesOfTotal(doneBytes, totalBytes);
}

std::string checkHeaderText(const std::string& listName, std::size_t entries) {
    return listName + ": " + plural(entries, "entry", "entries");
}

StatusMessage checkSummary(const CheckTally& tally) {
    if (tally.ok == tally.total) {
        if (tally.total == 1)
            return {"\xE2\x9C\x94 The listed file matches.", StatusKind::Success};
        return {"\xE2\x9C\x94 All " + std::to_string(tally.total) + " files match.",
                StatusKind::Success};
    }
    const struct {
        std::size_t count;
        const char* word;
    } problems[] = {{tally.failed, "failed"},
                    {tally.missing, "missing"},
                    {tally.unreadable, "unreadable"},
                    {tally.skipped, "skipped"}};
    std::string text = "\xE2\x9C\x98 ";
    bool first = true;
    for (const auto& problem : problems) {
        if (problem.count == 0)
            continue;
        if (first)
            text += std::to_string(problem.count) + " of " + plural(tally.total, "file", "files") +
                    " " + problem.word;
        else
            text += ", " + std::to_string(problem.count) + " " + problem.word;
        first = false;
    }
    return {text + ".", StatusKind::Failure};
}

StatusMessage refusedListStatus(const std::string& listName, const std::string& reason) {
    return {"Cannot check " + listName + ": " + reason + ".", StatusKind::Failure};
}

StatusMessage refusedFilesStatus(const std::string& reason) {
    return {"Cannot make a list of these files: " + reason + ".", StatusKind::Failure};
}

std::string makeHeaderText(std::size_t files, const std::string& folder) {
    return plural(files, "file", "files") + " in " + folder;
}

StatusMessage madeSummary(std::size_t files, std::size_t unreadable, const std::string& algorithm) {
    if (unreadable == 0)
        return {"\xE2\x9C\x94 " + plural(files, "file", "files") + " hashed with " + algorithm +
                    ".",
                StatusKind::Success};
    return {"\xE2\x9C\x98 " + std::to_string(unreadable) + " of " + plural(files, "file", "files") +
                " could not be read; the list leaves " + (unreadable == 1 ? "it" : "them") +
                " out.",
            StatusKind::Failure};
}

StatusMessage savedStatus(const std::string& listName, std::size_t files, bool saved) {
    if (saved)
        return {"Saved " + listName + " with " + plural(files, "file", "files") + ".",
                StatusKind::Success};
    return {"Could not save " + listName + ".", StatusKind::Failure};
}

} // namespace velk
