#pragma once

#include "data/Color.h"
#include "data/CrossData.h"
#include "grid/Cell.h"
#include "grid/History.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The shape of a figure drawn in one stroke.
enum class DrawMode : std::uint8_t { Brush = 0, Line = 1, Rect = 2 };

// What the model asks of the window around it. Every method has a neutral
// default so that the model also runs without any window (tests, tools).
class GridHost {
public:
    virtual ~GridHost() = default;
    // The colour tool button shows the given colour; false while it does not
    // exist yet, in which case loads keep the current colour.
    virtual bool hasColourButton() const { return false; }
    virtual void showCurrentColour(RGB /*colour*/) {}
    virtual bool hoverEnabled() const { return true; }
    virtual bool autoMarkEnabled() const { return false; }
    // The crossword named `name` has just been found solved: record it in the
    // catalogue, recount, repaint the tree and show the solved notice.
    virtual void crosswordSolved(const std::string& /*name*/) {}
    // Preferences: cross the empty cells of a line once its fills match the
    // clue; keep the wrong cells framed after every change.
    virtual bool lineHelpEnabled() const { return false; }
    virtual bool liveMistakes() const { return false; }
    // The wrong cells were just framed; so many of them.
    virtual void mistakesCounted(int /*count*/) {}
    // The preview window takes a new size (3 pixels per cell) and turns white.
    virtual void previewResize(int /*width*/, int /*height*/) {}
    // A cell's look changed; the preview window repaints its 3 x 3 block.
    virtual void previewCellChanged(int /*column*/, int /*row*/) {}
};

// The player's crossword without any toolkit or pixel: the crossword copy,
// the cells and clue marks the player edits, the drawing colour, the undo
// history and the last suggestion. Every editing command takes cell
// coordinates; the pointer turns the mouse into these commands.
class GridModel {
public:
    // Who shows the model hears what changed, cell by cell.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void cellChanged(int /*column*/, int /*row*/) {}
        // top: (column, slot) above the field; otherwise (slot, row) left of it.
        virtual void clueChanged(bool /*top*/, int /*first*/, int /*second*/) {}
        // A new crossword: new shape, nothing of the old one left.
        virtual void crosswordLoaded() {}
        // The suggested cell changed or went; its blink starts unlit.
        virtual void suggestionChanged() {}
    };

    GridModel();

    void setListener(Listener* listener) { listener_ = listener; }
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

    const GCell& cell(int column, int row) const { return cells_[std::size_t(column) * height_ + row]; }
    const BCell& leftClue(int slot, int row) const { return left_[std::size_t(slot) * height_ + row]; }
    const BCell& topClue(int column, int slot) const { return top_[std::size_t(column) * cc_ + slot]; }

    // Saved progress: only the committed state and colour and the marks.
    CellState cellState(int c, int r) const { return cell(c, r).state; }
    int cellColourIndex(int c, int r) const { return PaletteIndex(cell(c, r).colour); }
    void restoreCell(int c, int r, CellState state, int colourIndex);
    std::uint8_t leftMark(int slot, int row) const { return leftClue(slot, row).mark; }
    std::uint8_t topMark(int column, int slot) const { return topClue(column, slot).mark; }
    void setLeftMark(int slot, int row, std::uint8_t mark) { leftRef(slot, row).mark = mark ? 1 : 0; }
    void setTopMark(int column, int slot, std::uint8_t mark) { topRef(column, slot).mark = mark ? 1 : 0; }
    // Sets a cell without a record (the automatic solver); redrawCell shows it.
    void setCell(int c, int r, CellState state, RGB colour);

    // --- drawing colour ----------------------------------------------------
    RGB currentColour() const { return colour_; }
    void SetColor(RGB colour) { colour_ = colour; }
    // The colour picked from the field or a clue; the colour button shows it.
    void pickColour(RGB colour);
    bool revealOnLoad() const { return reveal_; }
    void setRevealOnLoad(bool on) { reveal_ = on; }
    void toggleRevealOnLoad() { reveal_ = !reveal_; }

    // --- editing commands --------------------------------------------------
    // Every command below is one step for Undo and Redo. A brush stroke is
    // one step too: what is painted between beginStroke and endStroke.
    void beginStroke();
    void endStroke();
    // One brush cell: gives it the state and (except a Mark, which keeps the
    // colour beneath) the current colour, then checks whether the picture is
    // solved. With line help on, a fill that completes a row or column
    // crosses that line's empty cells in the same step.
    void paint(int c, int r, CellState state);
    // A line or filled rectangle from (c0, r0) to (c1, r1); cells outside
    // the field are skipped. Line help as for paint, then the solved check.
    void paintFigure(int c0, int r0, int c1, int r1, DrawMode shape, CellState state);
    // Strikes a numbered clue out or back in. Blank slots follow: struck
    // while every numbered slot of the line is.
    void toggleClueMark(bool top, int first, int second);
    // The clue's colour becomes the drawing colour (blank slots give none).
    void pickClueColour(bool top, int first, int second);
    bool CanUndo() const { return history_.canUndo(); }
    bool CanRedo() const { return history_.canRedo(); }
    void Undo();
    void Redo();
    // Every cell empty and white, every clue mark off; one Undo brings the
    // whole field back.
    void Clear();
    void AutoMarkClues();
    bool CheckSolved();
    void Suggest();
    const History& history() const { return history_; }

    // The cell last corrected by a suggestion (it blinks on screen).
    std::optional<std::pair<int, int>> suggestedCell() const { return suggested_; }
    void clearSuggestion() { setSuggestedCell(std::nullopt); }

    // Frames every wrong cell until the next change and tells the host how
    // many there are; returns the count.
    int showMistakes();
    bool mistakeShown(int column, int row) const;

    // Tells the listener and the preview that a cell looks different.
    void redrawCell(int column, int row);

private:
    GCell& cellRef(int column, int row) { return cells_[std::size_t(column) * height_ + row]; }
    BCell& leftRef(int slot, int row) { return left_[std::size_t(slot) * height_ + row]; }
    BCell& topRef(int column, int slot) { return top_[std::size_t(column) * cc_ + slot]; }
    BCell& clueRef(bool top, int first, int second) { return top ? topRef(first, second) : leftRef(first, second); }

    void setSuggestedCell(std::optional<std::pair<int, int>> cell);
    void setCellRecorded(int c, int r, CellState state, RGB colour);
    void helpLines(const std::vector<std::pair<int, int>>& filled);
    void applyChange(const HistoryChange& change, bool forward);
    std::shared_ptr<FieldPicture> picture() const;
    void showPicture(const FieldPicture& picture);
    void hideMistakes();
    // After every change: the frames of wrong cells go, or are made anew.
    void changed();
    void redrawClue(bool top, int first, int second);
    void recomputeBlankSlots(bool top, int line);

    Listener* listener_ = nullptr;
    GridHost* host_ = nullptr;

    std::unique_ptr<CrossData> data_;
    int width_ = 0, height_ = 0, rc_ = 0, cc_ = 0;
    std::vector<GCell> cells_;
    std::vector<BCell> left_;
    std::vector<BCell> top_;

    RGB colour_ = kWhite;
    bool reveal_ = false;
    std::vector<std::pair<int, int>> figure_; // scratch for figure cells

    std::optional<std::pair<int, int>> suggested_;

    History history_;
    bool stroke_ = false;
    std::vector<std::uint8_t> mistakes_; // framed cells, [column * height + row]; empty when none
};
