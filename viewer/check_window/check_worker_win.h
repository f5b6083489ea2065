#pragma once
// The worker of a check window and what it hands the window.

#ifdef _WIN32
#include "viewer/check_window/check_state_win.h"

namespace velk {

// One row's news, posted with WM_CHECK_ROW as lParam; the window owns it from then on.
struct CheckRowResult {
    const CheckJob* job = nullptr; // the job it belongs to: news of a replaced job is dropped
    std::size_t row = 0;
    RowState state = RowState::Working;
    std::string algorithm;   // checking: the algorithm that matched
    std::string digest;      // making: the digest
    std::string reportLine;  // checking: the line velksum -c prints
    std::string error;       // the engine's message for an unreadable file
    std::uint64_t bytes = 0; // the file's size, for the progress line
};

// Starts reading the rows of the state on a thread of its own, for the state's job; false
// when no thread could be started.
bool startCheckWorker(CheckWindowState& state);

} // namespace velk
#endif
