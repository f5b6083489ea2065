// The shared handle owner closes exactly once, on every path.

#include "engine/unique_handle.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

struct CountingTraits {
    using Handle = int;
    static int closed;
    static int lastClosed;
    static Handle invalid() { return -1; }
    static void close(Handle h) {
        ++closed;
        lastClosed = h;
    }
};
int CountingTraits::closed = 0;
int CountingTraits::lastClosed = 0;

TEST(UniqueHandle, ClosesOnceThroughMovesResetsAndRelease) {
    CountingTraits::closed = 0;
    {
        UniqueHandle<CountingTraits> a(7);
        UniqueHandle<CountingTraits> b(std::move(a));
        EXPECT_FALSE(a.valid());
        EXPECT_TRUE(b.valid());
        UniqueHandle<CountingTraits> c(9);
        c = std::move(b); // 9 closes, 7 moves over
        EXPECT_EQ(CountingTraits::closed, 1);
        EXPECT_EQ(CountingTraits::lastClosed, 9);
        c = std::move(c); // self-move keeps the handle
        EXPECT_EQ(c.get(), 7);
        UniqueHandle<CountingTraits> d(11);
        EXPECT_EQ(d.release(), 11); // released: never closed by us
    }
    EXPECT_EQ(CountingTraits::closed, 2);
    EXPECT_EQ(CountingTraits::lastClosed, 7);
}

TEST(UniqueHandle, RealKernelHandleIsClosed) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    {
        UniqueObject owner(event);
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(owner.get(), &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags));
}

} // namespace
} // namespace velk
