#include "stress_fields.h"

#include "settings/file_replace.h"

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace velk::test {
namespace {

const char* const kKeys[kFieldWriters] = {"label_algo", "label_format", "theme", "font_px",
                                          "win_x",      "win_y",        "win_w", "win_h"};
constexpr int kStringWriters = 3; // writers 0..2 own text fields, 3..7 numbers
const char* const kSeedMonitor = "\\\\.\\DISPLAY1 \"seed\"";

// Lengths from 0 to 299 bytes, so that consecutive files differ in size by up to that much;
// theme's filler holds the bytes the file escapes.
std::string filler(int writer, int iteration) {
    static const char kEscaped[] = {'"', '\\', '\n', '\t', 'q'};
    const int length = (iteration * 131 + writer * 17) % 300;
    std::string s;
    for (int j = 0; j < length; ++j) {
        switch (writer) {
        case 0:
            s += static_cast<char>('a' + (j + iteration) % 26);
            break;
        case 1:
            s += static_cast<char>('0' + (j + iteration) % 10);
            break;
        default:
            s += kEscaped[(j + iteration) % 5];
            break;
        }
    }
    return s;
}

std::string textValue(int writer, int iteration) {
    return "w" + std::to_string(writer) + "#" + std::to_string(iteration) + ":" +
           filler(writer, iteration);
}

int numberValue(int writer, int iteration) {
    const int magnitude = iteration * 1000 + (iteration * 7 + writer) % 1000;
    return writer == 5 ? -magnitude : magnitude; // win_y goes negative, as on a left monitor
}

int textIteration(const std::string& value, int writer) {
    const std::string head = "w" + std::to_string(writer) + "#";
    if (value.compare(0, head.size(), head) != 0)
        return -1;
    const std::size_t colon = value.find(':', head.size());
    if (colon == std::string::npos || colon == head.size() || colon - head.size() > 7)
        return -1;
    int iteration = 0;
    for (std::size_t k = head.size(); k < colon; ++k) {
        if (value[k] < '0' || value[k] > '9')
            return -1;
        iteration = iteration * 10 + (value[k] - '0');
    }
    return value == textValue(writer, iteration) ? iteration : -1;
}

int numberIteration(int value, int writer) {
    if (writer == 5)
        value = -value;
    if (value < 0)
        return -1;
    const int iteration = value / 1000;
    return numberValue(writer, iteration) == (writer == 5 ? -value : value) ? iteration : -1;
}

// Settings or const Settings: the writer's field of that record.
template <class Record> auto numberField(Record& s, int writer) -> decltype(&s.font_px) {
    switch (writer) {
    case 3:
        return &s.font_px;
    case 4:
        return &s.win_x;
    case 5:
        return &s.win_y;
    case 6:
        return &s.win_w;
    default:
        return &s.win_h;
    }
}

template <class Record> auto textField(Record& s, int writer) -> decltype(&s.theme) {
    switch (writer) {
    case 0:
        return &s.label_algo;
    case 1:
        return &s.label_format;
    default:
        return &s.theme;
    }
}

bool holdsSeedExtras(const Settings& s) {
    return s.compute_all_menus && s.has_monitor && s.monitor == kSeedMonitor && s.has_font_px &&
           s.has_win_x && s.has_win_y && s.has_win_w && s.has_win_h;
}

// The test's own lock, held around one whole load-change-save in the turns phase.
class TurnLock {
  public:
    explicit TurnLock(const std::string& name) {
#ifdef _WIN32
        mutex_.reset(CreateMutexW(nullptr, FALSE, toUtf16(name).c_str()));
#else
        fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
#endif
    }
    ~TurnLock() {
#ifndef _WIN32
        if (fd_ >= 0)
            ::close(fd_);
#endif
    }
    TurnLock(const TurnLock&) = delete;
    TurnLock& operator=(const TurnLock&) = delete;

    bool lock() {
#ifdef _WIN32
        const DWORD waited = mutex_ ? WaitForSingleObject(mutex_.get(), 60000) : WAIT_FAILED;
        return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
#else
        return fd_ >= 0 && ::flock(fd_, LOCK_EX) == 0;
#endif
    }
    void unlock() {
#ifdef _WIN32
        ReleaseMutex(mutex_.get());
#else
        ::flock(fd_, LOCK_UN);
#endif
    }

  private:
#ifdef _WIN32
    UniqueObject mutex_;
#else
    int fd_ = -1;
#endif
};

std::string inFolder(const std::string& name) {
#ifdef _WIN32
    return settingsFolderPath() + "\\" + name;
#else
    return settingsFolderPath() + "/" + name;
#endif
}

} // namespace

const char* fieldWriterKey(int writer) {
    return kKeys[writer];
}

Settings fieldSeed() {
    Settings s;
    for (int w = 0; w < kFieldWriters; ++w)
        setOwnedField(s, w, 0);
    s.has_font_px = s.has_win_x = s.has_win_y = s.has_win_w = s.has_win_h = true;
    s.compute_all_menus = true;
    s.has_monitor = true;
    s.monitor = kSeedMonitor;
    return s;
}

void setOwnedField(Settings& settings, int writer, int iteration) {
    if (writer < kStringWriters) {
        *textField(settings, writer) = textValue(writer, iteration);
    } else {
        *numberField(settings, writer) = numberValue(writer, iteration);
    }
}

int ownedIteration(const Settings& settings, int writer) {
    return writer < kStringWriters ? textIteration(*textField(settings, writer), writer)
                                   : numberIteration(*numberField(settings, writer), writer);
}

bool parseFieldFile(const std::string& text, FieldFile& file, std::string& why) {
    if (text.empty()) {
        why = "empty read";
        return false;
    }
    const Settings s = settingsFromText(text);
    if (settingsToText(s) != text) {
        why = "not a file as settingsToText writes it";
        return false;
    }
    if (!holdsSeedExtras(s)) {
        why = "a field no writer owns has lost its value";
        return false;
    }
    for (int w = 0; w < kFieldWriters; ++w) {
        file.iteration[w] = ownedIteration(s, w);
        if (file.iteration[w] < 0) {
            why = std::string(kKeys[w]) + " holds no value its writer saves";
            return false;
        }
    }
    return true;
}

namespace {

void countFailedTry(FieldWriterReport& report, SaveResult result) {
    switch (result) {
    case SaveResult::Busy:
        ++report.busy;
        break;
    case SaveResult::RenameRefused:
        ++report.renameRefused;
        break;
    case SaveResult::Unreadable:
        ++report.unreadable;
        break;
    default:
        ++report.writeFailed;
        break;
    }
}

// One change of the writer's field, tried again while it does not land. The record that
// was written last is left in `written`.
bool saveUntilLanded(FieldWriterReport& report, int writer, int iteration, Settings& written) {
    const auto change = [&](Settings& s) {
        bool complete = holdsSeedExtras(s);
        for (int w = 0; w < kFieldWriters && complete; ++w)
            complete = ownedIteration(s, w) >= 0;
        if (!complete)
            ++report.badLoads;
        if (ownedIteration(s, writer) != report.lastSaved)
            ++report.ownLost;
        setOwnedField(s, writer, iteration);
        written = s;
    };
    const auto giveUp =
        std::chrono::steady_clock::now() + std::chrono::seconds(kPendingLimitSeconds);
    for (;;) {
        const SaveResult result = updateSettings(change);
        if (result == SaveResult::Saved)
            return true;
        countFailedTry(report, result);
        if (std::chrono::steady_clock::now() >= giveUp)
            return false;
        ++report.laterTries;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace

FieldWriterReport runFieldWriter(int writer, int iterations, bool turns,
                                 const std::string& lockName) {
    FieldWriterReport report;
    TurnLock turn(lockName);
    for (int i = 1; i <= iterations; ++i) {
        if (turns && !turn.lock()) {
            ++report.turnMismatches;
            continue;
        }
        ++report.saves;
        Settings written;
        if (saveUntilLanded(report, writer, i, written)) {
            ++report.landed;
            report.lastSaved = i;
            const std::string after = readWholeFile(settingsFilePath());
            if (ownedIteration(settingsFromText(after), writer) == i) {
                ++report.inForce;
            } else {
                ++report.notInForce;
            }
            if (turns && after != settingsToText(written))
                ++report.turnMismatches;
        } else {
            ++report.neverLanded;
        }
        if (turns) {
            turn.unlock();
        } else {
            // A breath between saves, as real writers take far longer ones: back to back,
            // eight writers keep the temporary file busy nearly all the time.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return report;
}

std::string reportFilePath(int writer) {
    return inFolder("stress-report-" + std::to_string(writer) + ".txt");
}

namespace {

// Every count of a report, in the order of the report file.
template <class Report> auto reportCounts(Report& r) {
    return std::array<decltype(&r.saves), 14>{
        &r.saves,         &r.landed,     &r.neverLanded, &r.laterTries,    &r.busy,
        &r.renameRefused, &r.unreadable, &r.writeFailed, &r.inForce,       &r.notInForce,
        &r.badLoads,      &r.ownLost,    &r.lastSaved,   &r.turnMismatches};
}

} // namespace

void writeFieldWriterReport(int writer, const FieldWriterReport& r) {
    std::ofstream out(reportFilePath(writer), std::ios::trunc);
    for (const int* count : reportCounts(r))
        out << *count << ' ';
    out << '\n';
}

bool readFieldWriterReport(int writer, FieldWriterReport& r) {
    std::istringstream in(readWholeFile(reportFilePath(writer)));
    for (int* count : reportCounts(r)) {
        if (!(in >> *count))
            return false;
    }
    return true;
}

std::string startGatePath() {
    return inFolder("stress-go");
}

bool waitForStartGate() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!readWholeFile(startGatePath()).empty())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace velk::test
