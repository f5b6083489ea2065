#pragma once
// Eight writers sharing one config.json, each owning one field, as the viewer's settings
// panel, its placement store and the property page each own theirs. A writer's value for
// iteration i checks itself (string values carry i and a filler whose length and bytes
// follow from i; numbers carry i and a check part), so a read that mixes two files, or a
// field carried over wrongly, shows up as a value no writer ever saved.

#include "settings/settings.h"

#include <string>

namespace velk::test {

constexpr int kFieldWriters = 8;

// label_algo, label_format, theme, font_px, win_x, win_y, win_w, win_h.
const char* fieldWriterKey(int writer);

// The file every run starts from: every writer's iteration 0, and the two fields no writer
// owns (compute_all_menus on, a monitor name that needs escaping), which must survive.
Settings fieldSeed();

// Puts writer's value for `iteration` (>= 0) into its field; touches nothing else.
void setOwnedField(Settings& settings, int writer, int iteration);

// The iteration the writer's field holds, or -1 when it holds no value that writer saves.
int ownedIteration(const Settings& settings, int writer);

// A read as the reader sees it: the whole file, parsed back into each writer's iteration.
struct FieldFile {
    int iteration[kFieldWriters] = {};
};

// True when `text` is exactly what settingsToText writes for a record that holds a valid
// value of every writer and the seed's unowned fields; `file` then holds the iterations.
// Otherwise `why` says what was wrong.
bool parseFieldFile(const std::string& text, FieldFile& file, std::string& why);

// What one writer process did; written to a small report file for the test to collect.
// A change that does not land is kept pending and tried again after a pause, as the viewer
// does on its timer, for up to kPendingLimitSeconds.
struct FieldWriterReport {
    int saves = 0;       // changes made
    int landed = 0;      // changes that reached the file, at once or on a later try
    int neverLanded = 0; // still pending after every try: a lost save
    int laterTries = 0;  // tries of a change after its first one
    // What the tries that did not land ran into.
    int busy = 0;
    int renameRefused = 0;
    int unreadable = 0;
    int writeFailed = 0;
    int inForce = 0;    // re-read right after landing: the file held the new value
    int notInForce = 0; // landed, but overtaken at once by an overlapping save
    int badLoads = 0;   // a load that was not a complete file of the eight writers
    int ownLost = 0;    // a load that no longer held this writer's last landed value
    int lastSaved = 0;
    // In turns only: the file right after the save was not exactly the saved record.
    int turnMismatches = 0;
};

// Long enough for the other writers to end: a writer that keeps losing the temporary file to
// them then finds it free. Only a save that can never land stays pending that long.
inline constexpr int kPendingLimitSeconds = 150;

// One writer's loop: `iterations` load-change-saves of iterations 1..iterations. With
// `turns`, each change (with every try of it) and the re-read run under the test's own lock
// at `lockName`, so that no two saves overlap.
FieldWriterReport runFieldWriter(int writer, int iterations, bool turns,
                                 const std::string& lockName);

std::string reportFilePath(int writer);
void writeFieldWriterReport(int writer, const FieldWriterReport& report);
bool readFieldWriterReport(int writer, FieldWriterReport& report);

// The writers wait for this file before their first load, so that they start together.
std::string startGatePath();
// Waits (up to 60 s) for the start gate; false when it never appeared.
bool waitForStartGate();

} // namespace velk::test
