#include "profile/WindowPlacement.h"

#include <algorithm>

namespace {
// Below this the tool bars and the grid cannot show at all.
constexpr int kSmallestWidth = 200;
constexpr int kSmallestHeight = 150;
}

WindowPlacement fitInto(WindowPlacement w, const ScreenArea& area, const FrameMargins& frame, int fallbackWidth,
                        int fallbackHeight, bool centre)
{
    const int roomW = std::max(1, area.width - frame.left - frame.right);
    const int roomH = std::max(1, area.height - frame.top - frame.bottom);
    if (centre || w.width < kSmallestWidth || w.height < kSmallestHeight) {
        w.width = fallbackWidth;
        w.height = fallbackHeight;
        centre = true;
    }
    w.width = std::min(w.width, roomW);
    w.height = std::min(w.height, roomH);
    const int left = area.x + frame.left;
    const int top = area.y + frame.top;
    if (centre) {
        w.x = left + (roomW - w.width) / 2;
        w.y = top + (roomH - w.height) / 2;
    } else {
        // Values from another screen layout may lie anywhere; the sums stay
        // in range since both sides are clamped to the area first.
        w.x = std::clamp(w.x, left, left + roomW - w.width);
        w.y = std::clamp(w.y, top, top + roomH - w.height);
    }
    return w;
}
