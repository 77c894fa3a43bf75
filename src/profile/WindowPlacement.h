#pragma once

// Where the main window stands on the desktop, in the toolkit's logical
// pixels: its normal (not maximised) geometry and whether it is maximised.
struct WindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    bool maximised = false;
    bool operator==(const WindowPlacement&) const = default;
};

struct ScreenArea {
    int x = 0, y = 0, width = 0, height = 0;
};

// The window manager's decoration around the window's client area.
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The placement moved and shrunk so that the window with its `frame` lies
// wholly inside `area`
// (the screen without its panels). A size too small to hold the window's
// parts (a damaged or foreign profile) gives way to `fallbackWidth` x
// `fallbackHeight` centred in the area, and so does any size when `centre`
// is set. The maximised flag is kept as it is.
WindowPlacement fitInto(WindowPlacement wanted, const ScreenArea& area, const FrameMargins& frame, int fallbackWidth,
                        int fallbackHeight, bool centre = false);
