// Eight processes doing load-change-save of their own field on one config.json while this
// process reads it without pause, as context menus and property pages do.
//
// In turns, a lock of the test's own keeps saves from overlapping: then no writer's field may
// ever be lost. Running free, two saves may overlap and the later one carries an old value of
// the other's field (no lock guards the file, by design), so there every read must be one
// complete file of the eight writers' values, and every change must land at some try.

#include "settings/file_replace.h"
#include "settings/settings.h"

#include "app_data_folder.h"
#include "stress_fields.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <unordered_set>
#include <vector>

#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velk {
namespace {

#ifdef _WIN32
// Every file operation under the emulator goes through its server: far fewer rounds. Running
// free, every change must land, so a round costs a whole save however many writers want
// the temporary file at once.
constexpr int kTurnIterations = 100;
constexpr int kFreeIterations = 100;

class WriterProcesses {
  public:
    WriterProcesses(int iterations, bool turns, const std::string& lockName) {
        wchar_t self[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring program(self, length);
        program = program.substr(0, program.find_last_of(L"\\/") + 1) +
                  L"settings_stress_fields_writer.exe";
        for (int w = 0; w < test::kFieldWriters; ++w) {
            std::wstring line = L"\"" + program + L"\" " + std::to_wstring(w) + L" " +
                                std::to_wstring(iterations) + (turns ? L" turns " : L" free ") +
                                toUtf16(lockName);
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION info{};
            if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &info)) {
                ADD_FAILURE() << "cannot start " << toUtf8(program) << ": " << GetLastError();
                continue;
            }
            CloseHandle(info.hThread);
            processes_.push_back(info.hProcess);
        }
    }
    WriterProcesses(const WriterProcesses&) = delete;
    WriterProcesses& operator=(const WriterProcesses&) = delete;
    ~WriterProcesses() {
        for (HANDLE process : processes_) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 9);
            CloseHandle(process);
        }
    }
    std::size_t started() const { return processes_.size(); }
    bool running() const {
        for (HANDLE process : processes_) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                return true;
        }
        return false;
    }
    bool allSucceeded() const {
        bool ok = true;
        for (HANDLE process : processes_) {
            DWORD code = 1;
            WaitForSingleObject(process, 120000);
            ok = GetExitCodeProcess(process, &code) && code == 0 && ok;
        }
        return ok;
    }

  private:
    std::vector<HANDLE> processes_;
};

std::string turnLockName() {
    return "Local\\velk-settings-stress-" + std::to_string(GetCurrentProcessId());
}
#else
constexpr int kTurnIterations = 200;
constexpr int kFreeIterations = 800;

class WriterProcesses {
  public:
    WriterProcesses(int iterations, bool turns, const std::string& lockName) {
        for (int w = 0; w < test::kFieldWriters; ++w) {
            const pid_t child = ::fork();
            if (child < 0) {
                ADD_FAILURE() << "fork failed";
                continue;
            }
            if (child == 0) {
                if (!test::waitForStartGate())
                    ::_exit(3);
                test::writeFieldWriterReport(w,
                                             test::runFieldWriter(w, iterations, turns, lockName));
                ::_exit(0);
            }
            children_.push_back(child);
            statuses_.push_back(-1);
        }
    }
    WriterProcesses(const WriterProcesses&) = delete;
    WriterProcesses& operator=(const WriterProcesses&) = delete;
    ~WriterProcesses() {
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (statuses_[i] == -1) {
                ::kill(children_[i], SIGKILL);
                ::waitpid(children_[i], nullptr, 0);
            }
        }
    }
    std::size_t started() const { return children_.size(); }
    bool running() {
        bool any = false;
        for (std::size_t i = 0; i < children_.size(); ++i) {
            int status = 0;
            if (statuses_[i] == -1 && ::waitpid(children_[i], &status, WNOHANG) == children_[i])
                statuses_[i] = status;
            any = any || statuses_[i] == -1;
        }
        return any;
    }
    bool allSucceeded() {
        while (running())
            ::usleep(1000);
        for (const int status : statuses_) {
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                return false;
        }
        return true;
    }

  private:
    std::vector<pid_t> children_;
    std::vector<int> statuses_;
};

std::string turnLockName() {
    return settingsFolderPath() + "/stress-turns.lock";
}
#endif

// What the reading side saw while the writers ran.
struct ReaderLog {
    int reads = 0;
    int badReads = 0;
    std::string firstBad, firstBadWhy;
    int regressions = 0; // a writer's field seen going back to an older value
    int lastSeen[test::kFieldWriters] = {};
    std::unordered_set<std::size_t> distinct;

    void read(const std::string& text) {
        ++reads;
        test::FieldFile file;
        std::string why;
        if (!test::parseFieldFile(text, file, why)) {
            if (badReads++ == 0) {
                firstBad = text;
                firstBadWhy = why;
            }
            return;
        }
        distinct.insert(std::hash<std::string>()(text));
        for (int w = 0; w < test::kFieldWriters; ++w) {
            if (file.iteration[w] < lastSeen[w])
                ++regressions;
            lastSeen[w] = file.iteration[w];
        }
    }
};

struct RunResult {
    ReaderLog log;
    test::FieldWriterReport reports[test::kFieldWriters];
    test::FieldFile final;
    double seconds = 0;
    bool complete = false;
};

// Seeds the file, starts the eight writers, opens the start gate and reads until they end.
void runWriters(int iterations, bool turns, RunResult& result) {
    test::ScopedAppData appData(turns ? "stress-turns" : "stress-free");
    saveSettings(test::fieldSeed());
    ASSERT_EQ(readWholeFile(settingsFilePath()), settingsToText(test::fieldSeed()));

    const auto start = std::chrono::steady_clock::now();
    {
        WriterProcesses writers(iterations, turns, turnLockName());
        ASSERT_EQ(writers.started(), static_cast<std::size_t>(test::kFieldWriters));
        test::writeBytes(test::startGatePath(), "go");
        while (writers.running())
            result.log.read(readWholeFile(settingsFilePath()));
        ASSERT_TRUE(writers.allSucceeded());
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const std::string last = readWholeFile(settingsFilePath());
    result.log.read(last);
    std::string why;
    ASSERT_TRUE(test::parseFieldFile(last, result.final, why)) << why << ": " << last;
    for (int w = 0; w < test::kFieldWriters; ++w)
        ASSERT_TRUE(test::readFieldWriterReport(w, result.reports[w])) << "writer " << w;
    result.complete = true;
}

test::FieldWriterReport totalOf(const RunResult& r) {
    test::FieldWriterReport t;
    for (const test::FieldWriterReport& report : r.reports) {
        t.saves += report.saves;
        t.landed += report.landed;
        t.neverLanded += report.neverLanded;
        t.laterTries += report.laterTries;
        t.busy += report.busy;
        t.renameRefused += report.renameRefused;
        t.unreadable += report.unreadable;
        t.writeFailed += report.writeFailed;
        t.inForce += report.inForce;
        t.notInForce += report.notInForce;
        t.ownLost += report.ownLost;
    }
    return t;
}

// What the tries that did not land ran into, for the log and for failure messages.
std::string failedTries(const test::FieldWriterReport& r) {
    return std::to_string(r.renameRefused) + " refused renames, " + std::to_string(r.unreadable) +
           " unreadable loads, " + std::to_string(r.busy) + " busy temporary files, " +
           std::to_string(r.writeFailed) + " failed writes";
}

void printCounts(const char* phase, const RunResult& r) {
    const test::FieldWriterReport t = totalOf(r);
    std::cout << phase << ": " << test::kFieldWriters << " writers, " << t.saves << " changes in "
              << r.seconds << " s; " << t.landed << " landed (" << t.laterTries
              << " later tries after " << failedTries(t) << "), " << t.neverLanded
              << " never landed; " << t.inForce << " in force when re-read at once, "
              << t.notInForce << " overtaken at once; " << t.ownLost
              << " loads missing the writer's own last value; " << r.log.reads << " reads, "
              << r.log.distinct.size() << " distinct files, " << r.log.badReads
              << " torn or incomplete, " << r.log.regressions << " fields seen going back\n";
}

void expectOnlyCompleteReads(const RunResult& r) {
    EXPECT_EQ(r.log.badReads, 0) << "of " << r.log.reads << " reads; the first ("
                                 << r.log.firstBadWhy << ", " << r.log.firstBad.size()
                                 << " bytes): " << r.log.firstBad.substr(0, 160);
    for (int w = 0; w < test::kFieldWriters; ++w)
        EXPECT_EQ(r.reports[w].badLoads, 0) << "writer " << w << " loaded an incomplete file";
    // The reader must really have watched the file change under the writers.
    EXPECT_GT(r.log.distinct.size(), static_cast<std::size_t>(test::kFieldWriters));
}

// Every change reached the file, however many tries it took.
void expectEveryChangeLanded(const test::FieldWriterReport& report, int iterations) {
    EXPECT_EQ(report.saves, iterations);
    EXPECT_EQ(report.neverLanded, 0)
        << "changes lost: still pending after " << test::kPendingLimitSeconds
        << " s; the tries that failed met " << failedTries(report);
    EXPECT_EQ(report.landed, iterations);
}

TEST(settings_stress, EightWritersInTurnsLoseNoField) {
    RunResult r;
    runWriters(kTurnIterations, true, r);
    ASSERT_TRUE(r.complete);
    printCounts("turns", r);
    expectOnlyCompleteReads(r);
    EXPECT_EQ(r.log.regressions, 0);
    for (int w = 0; w < test::kFieldWriters; ++w) {
        const test::FieldWriterReport& report = r.reports[w];
        SCOPED_TRACE(std::string("writer of ") + test::fieldWriterKey(w));
        expectEveryChangeLanded(report, kTurnIterations);
        EXPECT_EQ(report.inForce, report.landed) << "a save reported in force was not in the file";
        EXPECT_EQ(report.ownLost, 0) << "another writer's save dropped this field's value";
        EXPECT_EQ(report.turnMismatches, 0) << "the file after a save is not the saved record";
        EXPECT_EQ(r.final.iteration[w], kTurnIterations) << "the last value is not in the file";
    }
}

TEST(settings_stress, EightWritersRunningFreeLeaveOnlyCompleteFiles) {
    RunResult r;
    runWriters(kFreeIterations, false, r);
    ASSERT_TRUE(r.complete);
    printCounts("free", r);
    expectOnlyCompleteReads(r);
    for (int w = 0; w < test::kFieldWriters; ++w) {
        SCOPED_TRACE(std::string("writer of ") + test::fieldWriterKey(w));
        // Saves that found the temporary file busy were tried again, not dropped.
        expectEveryChangeLanded(r.reports[w], kFreeIterations);
        EXPECT_LE(r.final.iteration[w], kFreeIterations);
    }
}

} // namespace
} // namespace velk
