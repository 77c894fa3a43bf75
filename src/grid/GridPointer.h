#pragma once

#include "grid/GridLayout.h"
#include "grid/GridModel.h"

#include <cstdint>
#include <vector>

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// Keyboard and button state that comes with a mouse event.
struct MouseFlags {
    bool shift = false;
    bool ctrl = false;
    bool leftHeld = false;
    bool rightHeld = false;
};

// Turns presses, drags and releases in the control's pixels into the model's
// editing commands, and keeps what exists only while the mouse acts: the
// drawing shape, the state a button paints, the rubber band of a line or
// rectangle being dragged, and the hover crosshair.
class GridPointer {
public:
    // What the pointer asks of the widget that shows it.
    class View {
    public:
        virtual ~View() = default;
        // A cell of the rubber band appeared or went.
        virtual void cellChanged(int column, int row) = 0;
        virtual void invalidateRect(const PixelRect& rect) = 0;
        virtual void setCursorId(int id) = 0;
        // The mouse is over this cell (the status bar names it).
        virtual void pointerOver(int column, int row) = 0;
        // The keyboard's cell cursor is on this cell now.
        virtual void cellCursorMoved(int /*column*/, int /*row*/) {}
    };

    GridPointer(GridModel& model, const GridLayout& layout);

    void setView(View* view) { view_ = view; }

    DrawMode drawMode() const { return mode_; }
    void setDrawMode(DrawMode mode) { mode_ = mode; }

    void press(int x, int y, MouseButton button, MouseFlags flags);
    void move(int x, int y, MouseFlags flags);
    void release(int x, int y, MouseButton button, MouseFlags flags);

    // A new crossword: nothing dragged or hovered belongs to it, and the
    // cell cursor starts at the top-left cell.
    void reset();

    // --- keyboard: the cell cursor -------------------------------------------
    // -1 when the field has no cells.
    int cursorColumn() const { return cursorCol_; }
    int cursorRow() const { return cursorRow_; }
    // Puts the cursor on a cell (kept inside the field); the crosshair and
    // the status bar follow it as they follow the mouse.
    void setCellCursor(int column, int row);
    // An arrow key. With `paint` (Shift) it paints the cell it leaves and the
    // cell it reaches in the state of the last click, as a brush drag would,
    // in one step.
    void moveCellCursor(int dc, int dr, bool paint);
    // A click on the cursor's cell with the brush's rules: Space fills in the
    // current colour (DefYes), X crosses (DefNo), M marks (Mark).
    void clickAtCursor(CellState state);

    // The rubber band: cells of a pending line or rectangle show the state
    // and colour they would get; a Mark shows over the cell's own colour.
    bool showsPreview(int column, int row) const;
    CellState shownState(int c, int r) const;
    RGB shownColour(int c, int r) const;

    // How far the stroke being dragged reaches, so the player can count it
    // against a clue: the cells it covers and the width and height of the
    // box around them. A line or rectangle counts its band; the brush counts
    // the straight run from its press cell while it keeps to that cell's row
    // or column. All zero while no button is down, while the drag is still
    // (or again) on its first cell, and for a brush run that went off its line.
    struct Span {
        int cells = 0;
        int width = 0, height = 0;
        bool operator==(const Span&) const = default;
    };
    Span dragSpan() const;

    // The hover crosshair currently drawn, if any. It lives on the screen
    // only until the next full repaint.
    bool crosshairShown() const { return crosshair_; }
    int hoverColumn() const { return hoverCol_; }
    int hoverRow() const { return hoverRow_; }
    void dropCrosshair() { crosshair_ = false; }

private:
    void eraseBand();
    void showBand(int c0, int r0, int c1, int r1);
    void updateHover(int column, int row);
    void invalidateCrosshair(int column, int row);
    void setCursor();
    void reportOver(int column, int row);

    GridModel& model_;
    const GridLayout& layout_;
    View* view_ = nullptr;

    DrawMode mode_ = DrawMode::Brush;
    CellState paint_ = DefYes;
    int startCol_ = -1, startRow_ = -1;
    // A left or right button went down on a cell and is not up yet, and
    // where; the brush moves startCol_/startRow_ along, this stays.
    bool dragging_ = false;
    int pressCol_ = -1, pressRow_ = -1;
    // The rubber band currently shown: its corners, and the state and colour
    // it was drawn with.
    bool band_ = false;
    int bandC0_ = 0, bandR0_ = 0, bandC1_ = 0, bandR1_ = 0;
    CellState bandState_ = Empty;
    RGB bandColour_ = kBlack;
    std::vector<std::uint8_t> bandMask_; // cells of the band, [column * height + row]
    std::vector<std::pair<int, int>> figure_;

    int hoverCol_ = -1, hoverRow_ = -1;
    int overCol_ = -1, overRow_ = -1; // the cell the view was last told the mouse is over
    bool crosshair_ = false;
    int cursorCol_ = -1, cursorRow_ = -1;
};
