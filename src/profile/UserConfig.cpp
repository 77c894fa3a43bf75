#include "profile/UserConfig.h"

#include "config/CodePage.h"
#include "config/CrossException.h"
#include "config/Localization.h"
#include "grid/GridLayout.h"
#include "grid/GridModel.h"

#include <algorithm>
#include <sys/stat.h>

UserConfig::UserConfig(std::string userName, Localization& language, Bindings bindings)
    : userName_(std::move(userName)),
      language_(language),
      bindings_(std::move(bindings)),
      cellSize_(GridLayout::kInitialCellSize),
      previewShown_(bindings_.previewShown)
{
    ReadProfile();
}

std::string UserConfig::fileNameFor(const std::string& userName, const std::string& folder)
{
    // The name is 8-bit text in the system's code page; the file system
    // names files in UTF-8, so the two meet here and a name typed with
    // letters beyond ASCII finds its file again at the next start.
    const std::string base = codepage::toUtf8(userName) + ".pfl";
    return folder.empty() ? base : folder + "/" + base;
}

std::string UserConfig::fileName() const
{
    return fileNameFor(userName_, bindings_.folder);
}

int UserConfig::cellSize() const
{
    return bindings_.layout ? bindings_.layout->cellSize() : cellSize_;
}

void UserConfig::ReadProfile()
{
    data_.current = -1;
    // A name that is not a plain file name has no file here; the dialog
    // refuses such names, this keeps any other caller inside the folder.
    if (!isValidProfileName(userName_))
        return;
    std::vector<std::uint8_t> bytes;
    const boundedfile::Result result = readWholeFile(fileName(), bytes);
    if (!result) {
        // None: a new player, the defaults stay without a word. Anything else
        // (a FIFO, a link to a device, a file far too large, no rights) keeps
        // the defaults too, but the player hears which file and why, and it is
        // not overwritten at the end: it may hold everything they have done.
        if (result.failure == boundedfile::Failure::Missing)
            return;
        unreadableFile_ = true;
        CrossException(30006, codepage::fromUtf8(fileName()) + ": " + result.cause).Show();
        return;
    }

    ProfileData read = readProfileBytes(bytes.data(), bytes.size());
    onDisk_ = std::move(bytes);

    // A language whose file is gone must not lock the player out: the one
    // loaded now stays, the player hears about it once, and the profile will
    // be written with the language then current.
    bool languageFailed = false;
    for (const std::string& name : read.languages) {
        // The name becomes a path below the language folder; one that would
        // leave it (or is cut short by a zero byte) names no language file.
        if (!name.empty() && !isValidProfileName(name)) {
            languageFailed = true;
            continue;
        }
        try {
            language_.LoadLanguage(name);
        } catch (const CrossException&) {
            languageFailed = true;
        }
    }
    if (read.cellSize) {
        if (bindings_.layout)
            bindings_.layout->setCellSize(*read.cellSize);
        else
            cellSize_ = *read.cellSize;
    }
    data_ = std::move(read);
    if (data_.preview) {
        previewShown_ = *data_.preview;
        if (bindings_.showPreview)
            bindings_.showPreview(previewShown_);
    }
    if (languageFailed)
        CrossException(30005).Show();
}

void UserConfig::WriteProfile()
{
    write(false);
}

bool UserConfig::WriteProfileIfChanged()
{
    return write(true);
}

bool UserConfig::write(bool onlyIfChanged)
{
    if (!isValidProfileName(userName_) || unreadableFile_)
        throw CrossException(30007);
    std::vector<std::uint8_t> bytes = profileBytes(data_, language_.CurrentLanguage(), previewShown_, cellSize());
    if (onlyIfChanged && bytes == onDisk_)
        return false;
    replaceFile(fileName(), bytes);
    onDisk_ = std::move(bytes);
    return true;
}

std::uint32_t UserConfig::playSeconds(const std::string& id) const
{
    const auto it = data_.playSeconds.find(id);
    return it == data_.playSeconds.end() ? 0 : it->second;
}

void UserConfig::setPlaySeconds(const std::string& id, std::uint32_t seconds)
{
    // An id with ";" has no entry in the file either.
    if (!id.empty() && id.find(';') == std::string::npos)
        data_.playSeconds[id] = seconds;
}

bool UserConfig::FinishSession(const GridModel* grid) noexcept
{
    try {
        if (grid && grid->hasCrossword() && grid->data()->hasCells()) {
            const CrossData& d = *grid->data();
            SetCurrent(d.name, d.width, d.height, d.maxRowClues, d.maxColClues);
            SaveProgress(*grid);
        }
        WriteProfile();
        return true;
    } catch (const CrossException& e) {
        e.Show();
    } catch (const std::exception&) {
        // Out of memory while building the file: the file is not written.
        CrossException(30007).Show();
    }
    return false;
}

void UserConfig::SetCurrent(const std::string& id, int width, int height, int rowClueCount, int columnClueCount)
{
    if (id.find(';') != std::string::npos) {
        data_.current = -1;
        return;
    }
    const int found = data_.findState(id);
    data_.current = found >= 0 ? found : data_.addState(CrossState(id, width, height, rowClueCount, columnClueCount));
}

CrossState* UserConfig::currentEntry()
{
    if (data_.current < 0 || std::size_t(data_.current) >= data_.states().size())
        return nullptr;
    return &data_.state(data_.current);
}

const CrossState* UserConfig::currentState() const
{
    return const_cast<UserConfig*>(this)->currentEntry();
}

const std::string& UserConfig::currentId() const
{
    static const std::string none;
    const CrossState* e = currentState();
    return e ? e->id() : none;
}

namespace {

// Saving and restoring walk the part that the stored record and the open
// crossword both have, so a record of another size never reads or writes
// past either of them.
template <class CellFn, class LeftFn, class TopFn>
void forCommonPart(const CrossState& e, const GridModel& grid, CellFn cell, LeftFn left, TopFn top)
{
    const int w = std::min(e.width(), grid.width());
    const int h = std::min(e.height(), grid.height());
    const int slotsLeft = std::min(e.rowClueCount(), grid.rowClueCount());
    const int slotsTop = std::min(e.columnClueCount(), grid.colClueCount());
    for (int c = 0; c < w; ++c)
        for (int r = 0; r < h; ++r)
            cell(c, r);
    for (int s = 0; s < slotsLeft; ++s)
        for (int r = 0; r < h; ++r)
            left(s, r);
    for (int c = 0; c < w; ++c)
        for (int s = 0; s < slotsTop; ++s)
            top(c, s);
}

} // namespace

void UserConfig::SaveProgress(const GridModel& grid)
{
    CrossState* e = currentEntry();
    if (!e || !grid.hasCrossword() || grid.name() != e->id())
        return;
    forCommonPart(
        *e, grid,
        [&](int c, int r) {
            e->setCellState(c, r, grid.cellState(c, r));
            e->setCellColour(c, r, grid.cellColourIndex(c, r));
        },
        [&](int s, int r) { e->setLeftMark(s, r, grid.leftMark(s, r) != 0); },
        [&](int c, int s) { e->setTopMark(c, s, grid.topMark(c, s) != 0); });
}

void UserConfig::RestoreProgress(GridModel& grid) const
{
    const CrossState* e = currentState();
    if (!e || !grid.hasCrossword() || grid.name() != e->id())
        return;
    forCommonPart(
        *e, grid, [&](int c, int r) { grid.restoreCell(c, r, CellState(e->cellState(c, r)), e->cellColour(c, r)); },
        [&](int s, int r) { grid.setLeftMark(s, r, e->leftMark(s, r)); },
        [&](int c, int s) { grid.setTopMark(c, s, e->topMark(c, s)); });
}

ProfileMarks UserConfig::catalogueMarks() const
{
    return ProfileMarks{[this](const std::string& id) { return IsSolved(id); },
                        [this](const std::string& id) { return HasProgress(id); }};
}
