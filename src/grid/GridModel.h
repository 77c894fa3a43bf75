#pragma once

#include "data/CrossData.h"
#include "grid/Cell.h"
#include "data/Color.h"
#include "grid/History.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class DrawMode : std::uint8_t { Brush = 0, Line = 1, Rect = 2 };

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// Keyboard and button state that comes with a mouse event.
struct MouseFlags {
    bool shift = false;
    bool ctrl = false;
    bool leftHeld = false;
    bool rightHeld = false;
};

// What the model asks of the widget that shows it: repaint requests in the
// grid's own pixel coordinates, and the mouse cursor.
class GridView {
public:
    virtual ~GridView() = default;
    virtual void invalidateRect(int x, int y, int w, int h) = 0;
    virtual void invalidateAll() = 0;
    // The control's pixel size changed (load or zoom).
    virtual void geometryChanged() = 0;
    virtual void setCursorId(int id) = 0;
};

// What the model asks of the window around it. Every method has a neutral
// default so that the model also runs without any window (tests, tools).
class GridHost {
public:
    virtual ~GridHost() = default;
    virtual void setStatusText(int /*panel*/, const std::string& /*text*/) {}
    // The colour tool button shows the given colour; false while it does not
    // exist yet, in which case loads keep the current colour.
    virtual bool hasColourButton() const { return false; }
    virtual void showCurrentColour(RGB /*colour*/) {}
    virtual bool hoverEnabled() const { return true; }
    virtual bool autoMarkEnabled() const { return false; }
    // The crossword named `name` has just been found solved: record it in the
    // catalogue, recount, repaint the tree and show the solved notice.
    virtual void crosswordSolved(const std::string& /*name*/) {}
    // The preview window takes a new size (3 pixels per cell) and turns white.
    virtual void previewResize(int /*width*/, int /*height*/) {}
    // A cell's look changed; the preview window repaints its 3 x 3 block.
    virtual void previewCellChanged(int /*column*/, int /*row*/) {}
};

// What a point of the control hits.
struct HitResult {
    enum Kind : std::uint8_t { None, OnCell, OnLeftClue, OnTopClue } kind = None;
    // OnCell: column, row. OnLeftClue: slot, row. OnTopClue: column, slot.
    int first = 0;
    int second = 0;
    bool operator==(const HitResult&) const = default;
};

// The playing field without any toolkit: the crossword copy, the cells the
// player edits, the clue cells, the drawing state, the undo history and the
// layout in pixels. The Grid widget draws it and routes input to it.
class GridModel {
public:
    static constexpr int kMinCellSize = 3;
    static constexpr int kMaxCellSize = 30;
    static constexpr int kInitialCellSize = 15;

    GridModel();

    void setView(GridView* view) { view_ = view; }
    void setHost(GridHost* host) { host_ = host; }
    GridHost& host() const;

    // --- the crossword -----------------------------------------------------
    // Takes a copy of the crossword; every cell Empty, every clue unmarked,
    // history empty.
    void SetDataSource(const CrossData& data);
    void ShowSolution();
    bool hasCrossword() const { return data_ != nullptr; }
    const CrossData* data() const { return data_.get(); }
    const std::string& name() const;
    int width() const { return width_; }
    int height() const { return height_; }
    int rowClueCount() const { return rc_; }
    int colClueCount() const { return cc_; }
    int solution(int column, int row) const { return data_->value(column, row); }

    GCell& cell(int column, int row) { return cells_[std::size_t(column) * height_ + row]; }
    const GCell& cell(int column, int row) const { return cells_[std::size_t(column) * height_ + row]; }
    BCell& leftClue(int slot, int row) { return left_[std::size_t(slot) * height_ + row]; }
    const BCell& leftClue(int slot, int row) const { return left_[std::size_t(slot) * height_ + row]; }
    BCell& topClue(int column, int slot) { return top_[std::size_t(column) * cc_ + slot]; }
    const BCell& topClue(int column, int slot) const { return top_[std::size_t(column) * cc_ + slot]; }

    // Saved progress: only the committed state and colour and the marks.
    CellState cellState(int c, int r) const { return cell(c, r).state; }
    int cellColourIndex(int c, int r) const { return PaletteIndex(cell(c, r).colour); }
    void restoreCell(int c, int r, CellState state, int colourIndex);
    std::uint8_t leftMark(int slot, int row) const { return leftClue(slot, row).mark; }
    std::uint8_t topMark(int column, int slot) const { return topClue(column, slot).mark; }
    void setLeftMark(int slot, int row, std::uint8_t mark) { leftClue(slot, row).mark = mark ? 1 : 0; }
    void setTopMark(int column, int slot, std::uint8_t mark) { topClue(column, slot).mark = mark ? 1 : 0; }

    // --- geometry ----------------------------------------------------------
    int cellSize() const { return size_; }
    // Accepts 3..30 only; lays everything out again and repaints.
    bool SetZoom(int size);
    // Stores a size for the next layout without redrawing (profile reading);
    // values outside 3..30 are ignored.
    void storeCellSize(int size);
    int controlWidth() const;
    int controlHeight() const;
    int cellX(int column) const { return (rc_ + column) * size_ + column / 5; }
    int cellY(int row) const { return (cc_ + row) * size_ + row / 5; }
    HitResult hitTest(int x, int y) const;

    // --- drawing state -----------------------------------------------------
    RGB currentColour() const { return colour_; }
    void SetColor(RGB colour) { colour_ = colour; }
    DrawMode drawMode() const { return mode_; }
    void setDrawMode(DrawMode mode) { mode_ = mode; }
    CellState paintState() const { return paint_; }
    bool revealOnLoad() const { return reveal_; }
    void setRevealOnLoad(bool on) { reveal_ = on; }
    void toggleRevealOnLoad() { reveal_ = !reveal_; }

    // --- mouse -------------------------------------------------------------
    void mousePress(int x, int y, MouseButton button, MouseFlags flags);
    void mouseMove(int x, int y, MouseFlags flags);
    void mouseRelease(int x, int y, MouseButton button, MouseFlags flags);

    // --- editing -----------------------------------------------------------
    bool CanUndo() const { return !history_.empty(); }
    void Undo();
    void Clear();
    void AutoMarkClues();
    bool CheckSolved();
    void Suggest();
    const History& history() const { return history_; }

    // --- what is on screen -------------------------------------------------
    // The rubber band: cells of a pending line or rectangle show their
    // preview state and colour.
    bool showsPreview(int column, int row) const;
    CellState shownState(int c, int r) const { return showsPreview(c, r) ? cell(c, r).previewState : cell(c, r).state; }
    RGB shownColour(int c, int r) const { return showsPreview(c, r) ? cell(c, r).previewColour : cell(c, r).colour; }
    // The hover crosshair currently drawn, if any.
    bool crosshairShown() const { return crosshair_; }
    int hoverColumn() const { return hoverCol_; }
    int hoverRow() const { return hoverRow_; }
    // The cell last corrected by a suggestion (it blinks), and its phase.
    std::optional<std::pair<int, int>> suggestedCell() const { return suggested_; }
    void setSuggestedCell(std::optional<std::pair<int, int>> cell);
    bool suggestHighlighted() const { return suggestHighlight_; }
    void setSuggestHighlighted(bool on);

    // A full repaint: strikes clues automatically first and drops the
    // crosshair, which lives on the screen only until the next one.
    void fullRepaint();

    // Repaint requests for single objects.
    void redrawCell(int column, int row);
    void redrawLeftClue(int slot, int row);
    void redrawTopClue(int column, int slot);

    // The status text of a cell state, from the language table.
    static std::string stateText(CellState state);

private:
    void layout();
    void updateHover(int column, int row);
    void invalidateCrosshair(int column, int row);

    // Editing helpers.
    void applyCell(int c, int r);
    void pushRecord(const HistoryRecord& record);
    void recomputeBlankSlots(bool top, int line);
    void eraseBand();
    void drawFigure(int c0, int r0, int c1, int r1, DrawMode mode, bool commit, bool preview);
    void setCurrentColourShown(RGB colour);
    void setCursor();

    GridView* view_ = nullptr;
    GridHost* host_ = nullptr;

    std::unique_ptr<CrossData> data_;
    int width_ = 0, height_ = 0, rc_ = 0, cc_ = 0;
    std::vector<GCell> cells_;
    std::vector<BCell> left_;
    std::vector<BCell> top_;

    int size_ = kInitialCellSize;
    RGB colour_ = kWhite;
    CellState paint_ = DefYes;
    DrawMode mode_ = DrawMode::Brush;
    int startCol_ = -1, startRow_ = -1, endCol_ = -1, endRow_ = -1;
    // The rubber band currently shown, with the shape it was drawn in.
    bool band_ = false;
    DrawMode bandMode_ = DrawMode::Line;
    int bandC0_ = 0, bandR0_ = 0, bandC1_ = 0, bandR1_ = 0;
    std::vector<std::uint8_t> bandMask_; // cells of the band, [column * height + row]
    std::vector<std::pair<int, int>> figure_; // scratch for figure cells

    int hoverCol_ = -1, hoverRow_ = -1;
    bool crosshair_ = false;
    bool reveal_ = false;

    std::optional<std::pair<int, int>> suggested_;
    bool suggestHighlight_ = false;

    History history_;
};
