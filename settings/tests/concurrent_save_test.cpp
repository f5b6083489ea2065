// Several processes saving at once, as several viewers and shell extension instances do, while
// this process keeps reading the file like a context menu opening.

#include "settings/file_replace.h"
#include "settings/settings.h"

#include "app_data_folder.h"
#include "stress_record.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#ifdef _WIN32
#include "engine/utf16.h"
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velk {
namespace {

#ifdef _WIN32

constexpr int kIterations = 150; // each process start under the emulator costs far more

class Writers {
  public:
    Writers(int count, int iterations) {
        wchar_t self[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring program(self, length);
        program =
            program.substr(0, program.find_last_of(L"\\/") + 1) + L"settings_stress_writer.exe";
        for (int w = 0; w < count; ++w) {
            std::wstring commandLine =
                L"\"" + program + L"\" " + std::to_wstring(w) + L" " + std::to_wstring(iterations);
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION info{};
            if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                nullptr, nullptr, &startup, &info)) {
                ADD_FAILURE() << "cannot start " << toUtf8(program) << ": " << GetLastError();
                continue;
            }
            CloseHandle(info.hThread);
            processes_.push_back(info.hProcess);
        }
    }
    Writers(const Writers&) = delete;
    Writers& operator=(const Writers&) = delete;
    ~Writers() {
        for (HANDLE process : processes_) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 9);
            CloseHandle(process);
        }
    }
    bool started(int count) const { return static_cast<int>(processes_.size()) == count; }
    bool running() const {
        for (HANDLE process : processes_) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                return true;
        }
        return false;
    }
    bool allSucceeded() const {
        for (HANDLE process : processes_) {
            DWORD code = 1;
            WaitForSingleObject(process, INFINITE);
            if (!GetExitCodeProcess(process, &code) || code != 0)
                return false;
        }
        return true;
    }

  private:
    std::vector<HANDLE> processes_;
};

#else

constexpr int kIterations = 1500;

class Writers {
  public:
    Writers(int count, int iterations) {
        for (int w = 0; w < count; ++w) {
            const pid_t child = ::fork();
            if (child < 0) {
                ADD_FAILURE() << "fork failed";
                continue;
            }
            if (child == 0) {
                for (int i = 0; i < iterations; ++i)
                    saveSettings(test::stressRecord(w, i));
                ::_exit(0);
            }
            children_.push_back(child);
            statuses_.push_back(-1);
        }
    }
    Writers(const Writers&) = delete;
    Writers& operator=(const Writers&) = delete;
    ~Writers() {
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (statuses_[i] == -1) {
                ::kill(children_[i], SIGKILL);
                ::waitpid(children_[i], nullptr, 0);
            }
        }
    }
    bool started(int count) const { return static_cast<int>(children_.size()) == count; }
    bool running() {
        bool any = false;
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (statuses_[i] != -1)
                continue;
            int status = 0;
            if (::waitpid(children_[i], &status, WNOHANG) == children_[i]) {
                statuses_[i] = status;
            } else {
                any = true;
            }
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

#endif

struct ReadLog {
    bool seenFile = false;
    int reads = 0;
    int badReads = 0;
    std::string firstBad;
    std::set<std::pair<int, int>> seen; // (writer, iteration)

    void read(const std::string& text) {
        ++reads;
        int writer = 0;
        int iteration = 0;
        if (text.empty() && !seenFile)
            return; // no save has gone through yet
        seenFile = true;
        if (test::isCompleteStressText(text, writer, iteration)) {
            seen.insert({writer, iteration});
        } else if (badReads++ == 0) {
            firstBad = text;
        }
    }
};

TEST(settings_concurrency, ReadersOnlyEverSeeOneWritersCompleteFile) {
    // Which writer wins the temporary file is up to the scheduler: now and then one writer
    // takes nearly every save and the reader watches no change of hands. The run is then
    // repeated (at most three times); every read of every run must be complete.
    std::set<int> writersSeen;
    for (int run = 0; run < 3 && writersSeen.size() < 2; ++run) {
        test::ScopedAppData appData;
        ReadLog log;
        {
            Writers writers(test::kStressWriters, kIterations);
            ASSERT_TRUE(writers.started(test::kStressWriters));
            while (writers.running())
                log.read(readWholeFile(settingsFilePath()));
            EXPECT_TRUE(writers.allSucceeded());
        }
        const std::string last = readWholeFile(settingsFilePath());
        log.read(last);

        EXPECT_EQ(log.badReads, 0)
            << "of " << log.reads << " reads; first bad one has " << log.firstBad.size()
            << " bytes: " << log.firstBad.substr(0, 120);
        int writer = 0;
        int iteration = 0;
        EXPECT_TRUE(test::isCompleteStressText(last, writer, iteration));
        writersSeen.clear();
        for (const auto& entry : log.seen)
            writersSeen.insert(entry.first);
        std::cout << "run " << run + 1 << ": " << log.reads << " reads, " << log.seen.size()
                  << " distinct complete files from " << writersSeen.size() << " writers\n";
#ifndef _WIN32
        // Every save either renamed its temporary file or gave it up without leaving one.
        EXPECT_FALSE(test::exists(settingsFilePath() + ".tmp"));
#endif
    }
    // The reader must actually have watched the file change under several writers.
    EXPECT_GE(writersSeen.size(), 2u);
}

} // namespace
} // namespace velk
