#pragma once

#include "profile/CrossState.h"
#include "profile/ProfileFile.h"
#include "data/PackModel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class GridLayout;
class GridModel;
class Localization;

// What the profile reads and writes that lives elsewhere.
struct ProfileBindings {
    // The cell size is the grid layout's: a stored size goes there (no
    // redraw, shown at the next load or zoom) and the size written is the
    // layout's at that moment, so zooming needs no call here. Without a
    // layout the profile keeps the size itself.
    GridLayout* layout = nullptr;
    // The preview window's shown state when the profile is made.
    bool previewShown = false;
    // Called once after reading when the file had a preview block, with
    // the state the window must take (show or hide it, set the menu item
    // and tool button); the window keeps the profile in step afterwards
    // through setPreviewShown.
    std::function<void(bool shown)> showPreview;
    // Where the profile files are; empty for the working folder.
    std::string folder;
};

// The current player's profile: settings, the solved list and the saved
// progress of every crossword the player has opened, kept in "<name>.pfl".
// The file is read when the profile is made and written when the window
// asks for it: while playing (WriteProfileIfChanged) and at shutdown.
//
// What the main window does with it:
//
// First activation, once the player has chosen a name (checkProfileName
// refuses names that are not one plain file name):
//     profile = std::make_unique<UserConfig>(name, language, bindings);
//         // may raise CrossException 30006 (not a profile file): show it and
//         // end the program; there is then no profile and nothing is written
//     setProfileMarks(profile->catalogueMarks());   // before scanPacks
//     ... scanPacks, rebuild the tree with profile->currentId() ...
//     reopen profile->currentId() unless it is empty or "logo"
// The constructor has then loaded the profile's language (a missing language
// file shows error 30005 once and keeps the current language), stored the
// cell size in the bound grid and called bindings.showPreview.
//
// Opening a crossword (CrossSelected):
//     if (profile->current() >= 0 && grid.name() != "logo")
//         profile->SaveProgress(grid);
//     ... load the crossword data; on failure show the error and go on with
//         the record still holding the previous crossword ...
//     on success: profile->SetCurrent(data.name, data.width, data.height,
//                                     data.maxRowClues, data.maxColClues);
//     grid.SetDataSource(data);
//     profile->RestoreProgress(grid);
//     grid.fullRepaint();
// Solved notice: if (profile->currentId() != "logo") profile->AddSolved(id).
// Preferences and the hover command: setAutoMark, setShowHover; the grid's
// host answers autoMarkEnabled()/hoverEnabled() from autoMark()/showHover().
// Preview window shown or hidden by the player: setPreviewShown(shown).
//
// Shutdown (FormDestroy), before the grid is destroyed:
//     profile->FinishSession(&grid);   // shows 30007 itself on failure
//     setProfileMarks({});
//     profile.reset();
class UserConfig {
public:
    using Bindings = ProfileBindings;

    // Reads "<name>.pfl" if it exists (ReadProfile). Raises CrossException
    // 30006 when the file is not a profile file.
    UserConfig(std::string userName, Localization& language, Bindings bindings = {});
    // The profile file of a player: "<name>.pfl" in UTF-8, in `folder` (the
    // working folder when empty).
    static std::string fileNameFor(const std::string& userName, const std::string& folder = {});
    // Writes nothing: writing can fail and must be reported, so it is the
    // explicit call FinishSession / WriteProfile.
    virtual ~UserConfig() = default;

    UserConfig(const UserConfig&) = delete;
    UserConfig& operator=(const UserConfig&) = delete;

    // Writes the whole profile so that a failure leaves the previous file as
    // it was. Raises CrossException 30007 when the file cannot be written,
    // and when a file of that name was there at start but could not be read.
    void WriteProfile();
    // The same, but only when the bytes differ from those last read or
    // written; true when the file was written.
    bool WriteProfileIfChanged();
    // Shutdown: makes the grid's crossword current and saves it into its
    // entry (also the logo), then writes the file. A failure is shown as
    // error 30007 and reported by the result; nothing is thrown.
    bool FinishSession(const GridModel* grid) noexcept;

    // Makes the entry of exactly this id current, creating an all-zero entry
    // with the given sizes when there is none; an existing entry keeps its
    // own sizes. An id holding ";" cannot be stored in the file and leaves
    // no current entry.
    void SetCurrent(const std::string& id, int width, int height, int rowClueCount, int columnClueCount);
    // Copy between the grid and the current entry, as far as both sizes
    // reach. They do nothing without a current entry or when the grid holds
    // another crossword than the entry's, so progress never lands in the
    // wrong entry.
    void SaveProgress(const GridModel& grid);
    void RestoreProgress(GridModel& grid) const;

    void AddSolved(const std::string& id) { data_.addSolved(id); }
    // Compared after the ANSI lower-case mapping of the current code page.
    bool IsSolved(const std::string& id) const { return data_.isSolved(id); }
    // Compared byte for byte.
    bool HasProgress(const std::string& id) const { return data_.hasProgress(id); }
    // The catalogue's solved and edited marks; valid while the profile lives.
    ProfileMarks catalogueMarks() const;

    // Position of the current entry as read or set; a value naming no entry
    // (-1, or past the last entry) means no current crossword.
    int current() const { return data_.current; }
    const CrossState* currentState() const;
    // The current entry's id, empty when there is none.
    const std::string& currentId() const;

    bool autoMark() const { return data_.autoMark; }
    void setAutoMark(bool on) { data_.autoMark = on; }
    bool showHover() const { return data_.showHover; }
    void setShowHover(bool on) { data_.showHover = on; }
    bool lineHelp() const { return data_.lineHelp; }
    void setLineHelp(bool on) { data_.lineHelp = on; }
    bool liveMistakes() const { return data_.liveMistakes; }
    void setLiveMistakes(bool on) { data_.liveMistakes = on; }
    int cellSize() const;
    bool previewShown() const { return previewShown_; }
    void setPreviewShown(bool shown) { previewShown_ = shown; }

    // Seconds the player has spent on a crossword (0 for one never timed).
    std::uint32_t playSeconds(const std::string& id) const;
    void setPlaySeconds(const std::string& id, std::uint32_t seconds);
    // The main window's place as last stored, if the file had one.
    const std::optional<WindowPlacement>& window() const { return data_.window; }
    void setWindow(const WindowPlacement& placement) { data_.window = placement; }

    const std::string& userName() const { return userName_; }
    std::string fileName() const;
    const std::vector<std::string>& solved() const { return data_.solved(); }
    const std::vector<CrossState>& states() const { return data_.states(); }

private:
    void ReadProfile();
    bool write(bool onlyIfChanged);
    CrossState* currentEntry();

    std::string userName_;
    Localization& language_;
    Bindings bindings_;
    ProfileData data_;
    int cellSize_;
    bool previewShown_;
    bool unreadableFile_ = false;
    // What the file holds as far as this program knows: the bytes read at
    // start, then those of each write.
    std::vector<std::uint8_t> onDisk_;
};
