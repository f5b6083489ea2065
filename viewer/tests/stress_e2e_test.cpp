// Many viewers at once, some of them killed: the viewer list holds exactly the live ones and
// the cascade follows the live count.

#include "viewer_test_support.h"

#include "viewer/placement.h"
#include "viewer/window_list.h"

#include <algorithm>
#include <memory>
#include <set>

namespace velk::test {
namespace {

using ViewerStress = ViewerTest;

std::set<DWORD> listedIds(const AppData& appData) {
    std::set<DWORD> ids;
    for (const ViewerWindowEntry& e : parseViewerWindowList(appData.windowListText())) {
        ids.insert(e.processId);
    }
    return ids;
}

WorkArea primaryWorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return WorkArea{work.left, work.top, work.right, work.bottom};
}

TEST_F(ViewerStress, TenAtOnceThenKilledOnesAreDroppedAndTheCascadeFollowsTheLiveCount) {
    const std::wstring path = sampleFile();
    constexpr int kViewers = 10;
    // All started before any window is looked for, so their registrations race.
    std::vector<std::unique_ptr<Viewer>> viewers;
    for (int i = 0; i < kViewers; ++i) {
        viewers.push_back(std::make_unique<Viewer>(quoted(path), appData.folder.path()));
        ASSERT_TRUE(viewers.back()->started());
    }
    std::set<DWORD> live;
    std::vector<std::pair<int, int>> positions;
    for (auto& v : viewers) {
        HWND window = v->window(15000);
        ASSERT_NE(window, nullptr);
        live.insert(v->processId());
        const RECT r = windowRect(window);
        positions.emplace_back(r.left, r.top);
    }
    EXPECT_EQ(listedIds(appData), live) << appData.windowListText();
    EXPECT_EQ(parseViewerWindowList(appData.windowListText()).size(), std::size_t(kViewers))
        << "one line per viewer, no duplicates";

    // Each viewer saw a different number of others, 0 to 9: the ten cascade positions.
    const WorkArea area = primaryWorkArea();
    std::vector<std::pair<int, int>> cascade;
    for (int others = 0; others < kViewers; ++others) {
        const WindowRect want = placeInWorkArea(Settings{}, others, WindowSize{760, 560}, area);
        cascade.emplace_back(want.x, want.y);
    }
    std::sort(positions.begin(), positions.end());
    std::sort(cascade.begin(), cascade.end());
    EXPECT_EQ(positions, cascade);

    // Four die without saying goodbye; the list still names them until the next viewer.
    for (int i : {1, 4, 5, 8}) {
        TerminateProcess(viewers[i]->process(), 9);
        WaitForSingleObject(viewers[i]->process(), 5000);
        live.erase(viewers[i]->processId());
    }
    const Settings saved = savedSettings();
    const WindowRect want =
        placeInWorkArea(saved, static_cast<int>(live.size()), initialWindowSize(saved, 1.0), area);
    viewers.push_back(std::make_unique<Viewer>(quoted(path), appData.folder.path()));
    HWND late = viewers.back()->window(15000);
    ASSERT_NE(late, nullptr);
    live.insert(viewers.back()->processId());
    EXPECT_EQ(listedIds(appData), live) << "dead entries dropped\n" << appData.windowListText();
    const RECT r = windowRect(late);
    EXPECT_EQ(r.left, want.x) << rectText(r);
    EXPECT_EQ(r.top, want.y) << rectText(r);

    for (std::size_t i = 0; i < viewers.size(); ++i) {
        if (WaitForSingleObject(viewers[i]->process(), 0) == WAIT_TIMEOUT)
            viewers[i]->close();
    }
    for (auto& v : viewers)
        v->waitForExit(10000);
    EXPECT_EQ(appData.windowListText(), "");
}

} // namespace
} // namespace velk::test
