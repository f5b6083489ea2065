#include "viewer/window_list.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

using Entries = std::vector<ViewerWindowEntry>;

void expectEntries(const Entries& actual, const Entries& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].processId, expected[i].processId) << i;
        EXPECT_EQ(actual[i].stamp, expected[i].stamp) << i;
    }
}

TEST(WindowList, ReadingRules) {
    struct Case {
        const char* text;
        Entries expected;
    };
    const Case cases[] = {
        {"", {}},
        {"\n\n", {}},
        {"1234 1700000000\n", {{1234, "1700000000"}}},
        {"1234 1700000000", {{1234, "1700000000"}}},
        {"1234", {{1234, "0"}}},
        {"1 10\n\n2 20\n3 30", {{1, "10"}, {2, "20"}, {3, "30"}}},
        {"12 a b  c\r\n", {{12, "a b  c\r"}}},
        {"12 ", {{12, ""}}},
        {"\t+77 x\n", {{77, "x"}}},
        {"88abc 5\n", {{88, "5"}}},
        {"abc 5\n", {{0, "5"}}},
        {" 12 5\n", {{0, "12 5"}}},
        {"-5 1\n", {{0, "1"}}},
        {"4294967295 1\n4294967296 2\n", {{4294967295u, "1"}, {0, "2"}}},
        {"99999999999999999999999 1\n", {{0, "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        expectEntries(parseViewerWindowList(c.text), c.expected);
    }
}

TEST(WindowList, WritesOneLineFeedTerminatedLinePerEntry) {
    EXPECT_EQ(formatViewerWindowList({}), "");
    EXPECT_EQ(formatViewerWindowList({{4, "1700000000"}, {12, "0"}}), "4 1700000000\n12 0\n");
}

TEST(WindowList, StampsSurviveARoundTripVerbatim) {
    const Entries entries{{1, "-5"}, {2, "12 34"}, {3, "x\r"}};
    expectEntries(parseViewerWindowList(formatViewerWindowList(entries)), entries);
}

} // namespace
} // namespace velk
