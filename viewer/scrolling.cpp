#include "viewer/scrolling.h"

#include <algorithm>

namespace velk {
namespace {

int clampScroll(long long position, long long limit) {
    if (limit < 0)
        limit = 0;
    return static_cast<int>(std::clamp<long long>(position, 0, limit));
}

} // namespace

int scrollBarPosition(int code, int position, int page, int trackPosition, int maximum) {
    long long target = position;
    switch (code) {
    case kScrollLineUp:
        target -= 30;
        break;
    case kScrollLineDown:
        target += 30;
        break;
    case kScrollPageUp:
        target -= page;
        break;
    case kScrollPageDown:
        target += page;
        break;
    case kScrollThumbTrack:
        target = trackPosition;
        break;
    default:
        break;
    }
    return clampScroll(target, static_cast<long long>(maximum) - page);
}

int wheelScrollPosition(int scrollPos, int wheelDelta, int contentHeight, int clientHeight) {
    const long long target = static_cast<long long>(scrollPos) + (wheelDelta > 0 ? -60 : 60);
    return clampScroll(target, static_cast<long long>(contentHeight) - clientHeight);
}

int revealScrollPosition(int scrollPos, int top, int bottom, int contentHeight, int clientHeight) {
    constexpr int kMargin = 10;
    long long target = scrollPos;
    if (bottom > clientHeight - kMargin)
        target += bottom - (clientHeight - kMargin);
    // The top wins over the bottom: it holds the start of the control's text.
    const long long topAfter = top - (target - scrollPos);
    if (topAfter < kMargin)
        target -= kMargin - topAfter;
    return clampScroll(target, static_cast<long long>(contentHeight) - clientHeight);
}

} // namespace velk
