#pragma once

#include <QIcon>
#include <QString>

// The icons of the main window's menu items and tool buttons, by image
// index: 0 crosswords panel, 1 crossword, 2 preferences, 3 exit, 4 preview,
// 5 help, 6 about (also the solver button), 7 brush (and the draw mode menu),
// 8 line, 9 rectangle, 10 zoom in, 11 zoom out, 12 clear, 13 undo,
// 14 hover highlight, 15 fit to window, 16 redo, 17 show mistakes, 18 import
// puzzles. Each comes at 16 px and at 32 px for doubled screens.
// initWidgetResources() must have run first.
class ToolBarImageList {
public:
    static constexpr int kCount = 19;

    // The icon for an image index; a null icon outside 0..18.
    static QIcon icon(int index);

    // Resource path of the 16 px picture (the 32 px one adds "@2x"); empty
    // outside 0..18.
    static QString resourcePath(int index);
};
