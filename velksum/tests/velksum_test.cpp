// velksum's command line: output formats, exit codes and messages.

#include "velksum/velksum.h"

#include "velksum/file_arguments.h"
#include "velksum/terminal_progress.h"

#include "engine/algorithms.h"
#include "engine/tests/digest_oracle.h"
#include "engine/tests/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velk {
namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

std::string drain(std::FILE* f) {
    std::rewind(f);
    std::string text;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        text.append(buf, n);
    std::fclose(f);
    return text;
}

// A path as checksum lines carry it: with forward slashes on Windows.
std::string listed(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

Outcome run(const std::vector<std::string>& args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = runVelksum(args, out, err);
    return {code, drain(out), drain(err)};
}

TEST(Velksum, AllDigestsInCatalogueOrderPerFile) {
    test::TempDir dir;
    const std::string a = dir.write("a", {'a', 'b', 'c'});
    const std::string b = dir.write("b", {});
    const Outcome r = run({a, b});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    std::string expected;
    for (const auto& [path, content] :
         std::vector<std::pair<std::string, std::vector<std::uint8_t>>>{{a, {'a', 'b', 'c'}},
                                                                        {b, {}}}) {
        expected += path + "\n";
        for (const std::string& name : kAlgorithmNames) {
            expected += name + "  " + test::digestInPieces(name, content) + "\n";
        }
    }
    EXPECT_EQ(r.out, expected);
}

#ifndef _WIN32 // on Windows every path holds backslashes
TEST(Velksum, OneAlgorithmPrintsChecksumLines) {
    test::TempDir dir;
    const std::string a = dir.write("plain name", {'x'});
    const std::string b = dir.write("back\\slash", {'y'});
    const Outcome r = run({"-a", "SHA-256", a, b});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, test::digestInPieces("SHA-256", {'x'}) + "  " + a + "\n" + "\\" +
                         test::digestInPieces("SHA-256", {'y'}) + "  " +
                         a.substr(0, a.size() - 10) + "back\\\\slash\n");
}
#endif

TEST(Velksum, FailuresAreReportedPerFileAndTheRestGoesOn) {
    test::TempDir dir;
    const std::string good = dir.write("good", {});
    const std::string missing = dir.file("missing");
    const Outcome r = run({missing, good});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "velksum: " + missing + ": cannot open file (" + std::strerror(ENOENT) + ")\n");
    EXPECT_EQ(r.out.substr(0, good.size() + 1), good + "\n");
}

TEST(Velksum, BadUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {{},
                                                         {"-a"},
                                                         {"-a", "SHA-257", "x"},
                                                         {"-z", "x"},
                                                         {"-a", "MD5"},
                                                         {"--quiet", "x"},
                                                         {"-c", "-a", "MD5", "x"},
                                                         {"--threads", "x", "y"}};
    for (const auto& args : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 2) << args.size();
        EXPECT_NE(r.err.find("usage: velksum"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* part : {"usage: velksum", "--check", "--tag", "--strict", "--quiet",
                             "--version", "SHA3-512, BLAKE2b, BLAKE2s.", "Exit status: 0"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("velksum 1.", 0), 0u) << version.out;
}

TEST(Velksum, DoubleDashEndsOptions) {
    test::TempDir dir;
    const std::string dashed = dir.write("-a", {});
    const Outcome r = run({"-a", "CRC32", "--", dashed});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "00000000  " + listed(dashed) + "\n");
}

TEST(Velksum, ToolNamesAndTagLines) {
    test::TempDir dir;
    const std::string f = dir.write("f", {'a', 'b', 'c'});
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const auto d = [](const char* name) { return test::digestInPieces(name, {'a', 'b', 'c'}); };
    const Case cases[] = {
        {{"-a", "sha256", f}, d("SHA-256") + "  " + listed(f) + "\n"},
        {{"--algorithm", "blake2b-512", f}, d("BLAKE2b") + "  " + listed(f) + "\n"},
        {{"-a", "SHA1", "--tag", f}, "SHA1 (" + listed(f) + ") = " + d("SHA-1") + "\n"},
        {{"--tag", "-a", "BLAKE2s", f}, "BLAKE2s (" + listed(f) + ") = " + d("BLAKE2s") + "\n"},
        {{"--tag", "-a", "sha3-256", f}, "SHA3-256 (" + listed(f) + ") = " + d("SHA3-256") + "\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    // --tag alone: eleven BSD lines, each read back by -c once the name is made relative.
    const Outcome all = run({"--tag", f});
    ASSERT_EQ(all.code, 0);
    std::string relative = all.out;
    for (std::size_t at; (at = relative.find(listed(f))) != std::string::npos;)
        relative.replace(at, listed(f).size(), "f");
    std::ofstream(std::filesystem::u8path(dir.file("ALL"))) << relative;
    const Outcome check = run({"-c", dir.file("ALL")});
    EXPECT_EQ(check.code, 0) << check.out << check.err;
    std::string expected;
    for (int i = 0; i < 11; ++i)
        expected += "f: OK\n";
    EXPECT_EQ(check.out, expected);
}

// A folder with files and a checksum file listing them, the way a download site ships them.
struct CheckFolder {
    test::TempDir dir;
    std::string listPath;
    std::string write(const std::string& name, const std::string& content) {
        return dir.write(name, std::vector<std::uint8_t>(content.begin(), content.end()));
    }
    std::string sha256(const std::string& content) {
        return test::digestInPieces("SHA-256",
                                    std::vector<std::uint8_t>(content.begin(), content.end()));
    }
    void list(const std::string& name, const std::string& text) { listPath = write(name, text); }
};

TEST(VelksumCheck, ReportsEveryEntryAndExitsZeroOnlyWhenAllMatch) {
    CheckFolder f;
    f.write("good.iso", "good");
    f.write("bad.iso", "bad");
    f.list("SHA256SUMS", f.sha256("good") + "  good.iso\n" + f.sha256("other") + " *bad.iso\n" +
                             f.sha256("x") + "  gone.iso\n" + f.sha256("x") + "  ../up.iso\n" +
                             "not a checksum line\n");
    const Outcome r = run({"-c", f.listPath});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "good.iso: OK\nbad.iso: FAILED\ngone.iso: FAILED open or read\n"
                     "../up.iso: skipped (outside the folder)\n");
    EXPECT_EQ(r.err, "velksum: gone.iso: cannot open file (" + std::string(std::strerror(ENOENT)) +
                         ")\n"
                         "velksum: WARNING: 1 line is improperly formatted\n"
                         "velksum: WARNING: 1 listed file could not be read\n"
                         "velksum: WARNING: 1 computed checksum did NOT match\n"
                         "velksum: WARNING: 1 listed file was skipped (outside the folder)\n");
    const Outcome quiet = run({"--quiet", "-c", f.listPath});
    EXPECT_EQ(quiet.out, "bad.iso: FAILED\ngone.iso: FAILED open or read\n"
                         "../up.iso: skipped (outside the folder)\n");

    // Only a clean list passes; --strict also fails it for a stray line.
    f.list("good.sha256", f.sha256("good") + "  good.iso\n# comment\n\nstray\n");
    EXPECT_EQ(run({"-c", f.listPath}).code, 0);
    const Outcome strict = run({"-c", "--strict", f.listPath});
    EXPECT_EQ(strict.code, 1);
    EXPECT_EQ(strict.out, "good.iso: OK\n");
}

TEST(VelksumCheck, NamesAreRelativeToTheChecksumFile) {
    CheckFolder f;
    std::filesystem::create_directories(std::filesystem::u8path(f.dir.file("sub/deeper")));
    f.write("sub/deeper/a.bin", "a");
    f.list("sub/MD5SUMS", test::digestInPieces("MD5", {'a'}) + "  deeper/a.bin\n");
    const Outcome r = run({"--check", f.listPath});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "deeper/a.bin: OK\n");
}

TEST(VelksumCheck, LengthAloneTriesEachAlgorithmAndNamesTheOneThatMatched) {
    CheckFolder f;
    f.write("a", "a");
    const auto digest = [](const char* name) { return test::digestInPieces(name, {'a'}); };
    f.list("list.txt", digest("BLAKE2s") + "  a\n" + digest("SHA-256") + "  a\n" +
                           digest("SHA3-512") + "  a\n" + std::string(64, '0') + "  a\n");
    const Outcome r = run({"-c", f.listPath});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "a: OK (BLAKE2s)\na: OK (SHA-256)\na: OK (SHA3-512)\na: FAILED\n");
}

TEST(VelksumCheck, RefusesListsItCannotTrust) {
    CheckFolder f;
    f.list("empty.md5", "# nothing\n\n");
    const std::string empty = f.listPath;
    f.list("SHA256SUMS", std::string(20u << 20, '#'));
    const Outcome big = run({"-c", f.listPath, empty, f.dir.file("missing.md5")});
    EXPECT_EQ(big.code, 1);
    EXPECT_EQ(big.out, "");
    EXPECT_EQ(big.err, "velksum: " + f.listPath + ": checksum file is larger than 16 MiB\n" +
                           "velksum: " + empty + ": no properly formatted checksum lines found\n" +
                           "velksum: " + f.dir.file("missing.md5") + ": cannot open file (" +
                           std::strerror(ENOENT) + ")\n");
}

#ifndef _WIN32
TEST(Velksum, AFailedWriteOfTheOutputIsAnError) {
    test::TempDir dir;
    const std::string f = dir.write("f", {'x'});
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::FILE* err = std::tmpfile();
    const int code = runVelksum({"-a", "SHA-256", f}, full, err);
    std::fclose(full);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(drain(err), "velksum: write error\n");
}
#endif

TEST(Velksum, AFileThatGrowsWhileReadIsReportedNotHashed) {
    test::TempDir dir;
    const std::string f = dir.write("growing", std::vector<std::uint8_t>(48u << 20, 7));
    std::atomic<bool> stop{false};
    // The writer appends from before the pass until after it, so the size read before the
    // pass differs from the one read after it.
    std::thread writer([&] {
        std::FILE* out = std::fopen(f.c_str(), "ab");
        while (!stop) {
            std::fputc('+', out);
            std::fflush(out);
        }
        std::fclose(out);
    });
    while (std::filesystem::file_size(std::filesystem::u8path(f)) == (48u << 20))
        std::this_thread::yield();
    const Outcome r = run({f});
    stop = true;
    writer.join();
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "velksum: " + f + ": file changed while it was read\n");
}

TEST(Velksum, AllDigestsPathLineIsEscapedLikeAChecksumName) {
#ifndef _WIN32
    test::TempDir dir;
    const std::string f = dir.write("two\nlines", {});
    const Outcome r = run({f});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1),
              "\\" + f.substr(0, f.size() - 9) + "two\\nlines\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 12);
#endif
}

TEST(FileArguments, WildcardsMatchWholeNamesWithoutRegardToCase) {
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool match;
    };
    const Case cases[] = {
        {L"*.bin", L"a.bin", true},
        {L"*.bin", L"A.BIN", true},
        {L"*.bin", L"a.binary", false},
        {L"*.bin", L"a.bin.txt", false},
        {L"?.bin", L"ab.bin", false},
        {L"??.bin", L"ab.bin", true},
        {L"a*b*c", L"aXbYbZc", true},
        {L"a*b*c", L"aXbYc d", false},
        {L"*", L"", true},
        {L"*x*", L"abc", false},
        {L"file", L"FILE", true},
        {L"f*.*", L"f", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.match)
            << std::string(c.pattern, c.pattern + std::wcslen(c.pattern));
}

TEST(VelksumProgress, LineRewritesItselfAndIsWipedAtTheEnd) {
    std::size_t shown = 0;
    EXPECT_EQ(terminalProgressLine("a.iso", "47% \xC2\xB7 3.1 of 20.0 GiB", shown),
              "\ra.iso: 47% \xC2\xB7 3.1 of 20.0 GiB");
    EXPECT_EQ(shown, 28u) << "the middle dot is one column";
    // A shorter line covers what the longer one left.
    EXPECT_EQ(terminalProgressLine("a.iso", "5%", shown), "\ra.iso: 5%" + std::string(19, ' '));
    EXPECT_EQ(shown, 9u);
    EXPECT_EQ(clearTerminalProgress(shown), "\r" + std::string(9, ' ') + "\r");
    EXPECT_EQ(shown, 0u);
    EXPECT_EQ(clearTerminalProgress(shown), "");

    // A long name gives way from its left; the line never wraps.
    const std::string name = "/very/long/folder/" + std::string(80, 'x') + "/disk.img";
    const std::string line = "12% \xC2\xB7 2.4 of 20.0 GiB \xC2\xB7 412 MB/s, about 45 s left";
    const std::string shownText = terminalProgressLine(name, line, shown);
    EXPECT_EQ(shown, kTerminalProgressColumns);
    EXPECT_EQ(shownText.substr(0, 4), "\r...");
    EXPECT_NE(shownText.find("x/disk.img: " + line), std::string::npos) << shownText;
}

TEST(VelksumProgress, NothingNewWhenStandardErrorIsNoTerminal) {
    test::TempDir dir;
    const std::string a = dir.write("a", std::vector<std::uint8_t>(3 << 20, 0x61));
    const Outcome plain = run({a});
    const Outcome asked = run({"--progress", a});
    EXPECT_EQ(asked.code, 0);
    EXPECT_EQ(asked.out, plain.out);
    EXPECT_EQ(asked.err, "");
}

#ifndef _WIN32
// On a terminal, a file read slowly through a pipe: the line comes after half a second,
// rewrites itself with a carriage return (never a new line), and is wiped before the digests.
TEST(VelksumProgress, TerminalShowsOneLineWhileASlowFileIsRead) {
    test::TempDir dir;
    const std::string fifo = dir.path() + "/slow";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    std::FILE* err = fdopen(slave, "w");
    ASSERT_NE(err, nullptr);

    // 1 MiB every 20 ms for 1.5 s: the pass cannot end sooner, however fast the machine.
    std::thread writer([&fifo] {
        const int fd = open(fifo.c_str(), O_WRONLY);
        const std::vector<char> chunk(1 << 20, 'z');
        for (int i = 0; i < 75 && fd >= 0; ++i) {
            for (std::size_t done = 0; done < chunk.size();) {
                const ssize_t n = write(fd, chunk.data() + done, chunk.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<std::size_t>(n);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        close(fd);
    });
    std::string shown;
    std::atomic<bool> reading{true};
    std::thread reader([&] {
        char buffer[4096];
        while (reading) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            shown.append(buffer, static_cast<std::size_t>(n));
        }
    });

    std::FILE* out = std::tmpfile();
    const auto started = std::chrono::steady_clock::now();
    const int code = runVelksum({"--progress", fifo}, out, err);
    const auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
    writer.join();
    std::fflush(err);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    reading = false;
    std::fclose(err); // the reader's read ends with the terminal
    reader.join();
    close(master);
    EXPECT_EQ(code, 0);
    EXPECT_NE(drain(out).find("SHA-256  "), std::string::npos);

    EXPECT_EQ(shown.find('\n'), std::string::npos) << "the line must never scroll";
    EXPECT_NE(shown.find("\r" + fifo + ": "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" MiB"), std::string::npos) << shown;
    // Wiped at the end: the last thing written is a carriage return after spaces.
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.substr(shown.size() - 2), " \r");
    // At most ten lines a second after the first half second, and the wiping one.
    const auto lines = std::count(shown.begin(), shown.end(), '\r');
    EXPECT_GE(lines, 3);
    EXPECT_LE(lines, (tookMs - 500) / 100 + 1 + 2) << "in " << tookMs << " ms";
}
#endif

} // namespace
} // namespace velk
