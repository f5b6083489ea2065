// UniqueCom, the owner the page uses for the shell-link interfaces: one Release per reference.

#include "engine/unique_handle.h"

#include <unknwn.h>

#include <gtest/gtest.h>

namespace velk {
namespace {

struct CountingUnknown : IUnknown {
    ULONG releases = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(++releases); }
};

TEST(PageComOwner, ReleasesOnceThroughMovesAndResets) {
    CountingUnknown a, b;
    {
        UniqueCom<IUnknown> first(&a);
        UniqueCom<IUnknown> second(std::move(first));
        EXPECT_FALSE(first.valid());
        EXPECT_EQ(a.releases, 0u);
        second.reset(&b);
        EXPECT_EQ(a.releases, 1u);
        UniqueCom<IUnknown> third;
        third = std::move(second);
        EXPECT_EQ(b.releases, 0u);
    }
    EXPECT_EQ(a.releases, 1u);
    EXPECT_EQ(b.releases, 1u);

    UniqueCom<IUnknown> kept(&a);
    IUnknown* raw = kept.release();
    EXPECT_EQ(raw, &a);
    EXPECT_EQ(a.releases, 1u) << "release() hands the reference over without releasing it";
}

} // namespace
} // namespace velk
