// velksum's command line: output formats, exit codes and messages.

#include "velksum/velksum.h"

#include "engine/algorithms.h"
#include "engine/tests/digest_oracle.h"
#include "engine/tests/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>

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
    EXPECT_EQ(r.err, "velksum: " + missing + ": cannot open file\n");
    EXPECT_EQ(r.out.substr(0, good.size() + 1), good + "\n");
}

TEST(Velksum, BadUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"-a"}, {"-a", "SHA256", "x"}, {"-z", "x"}, {"-a", "MD5"}};
    for (const auto& args : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 2) << args.size();
        EXPECT_NE(r.err.find("usage: velksum"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: velksum"), std::string::npos);
}

TEST(Velksum, DoubleDashEndsOptions) {
    test::TempDir dir;
    const std::string dashed = dir.write("-a", {});
    const Outcome r = run({"-a", "CRC32", "--", dashed});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "00000000  " + dashed + "\n");
}

} // namespace
} // namespace velk
