#include "config/LanguageKeys.h"

#include <cstring>

// Eleven em dashes (byte 0x97 in the Cyrillic and Western code pages) rule
// off the title of a tree hint.
#define HINT_RULE "\x97\x97\x97\x97\x97\x97\x97\x97\x97\x97\x97"

const std::vector<LanguageKey>& languageKeys()
{
    static const std::vector<LanguageKey> keys = {
        // Main window menus, tool bar hints and the suggest button.
        {"main_win_menu_game", "Game"},
        {"main_win_menu_panelcross", "Crosswords panel..."},
        {"main_win_menu_import", "Import puzzles..."},
        {"main_win_menu_preference", "Preferences..."},
        {"main_win_menu_exit", "Exit"},
        {"main_win_menu_view", "View"},
        {"main_win_menu_mode", "Draw mode"},
        {"main_win_menu_mode_brush", "Brush"},
        {"main_win_menu_mode_line", "Line"},
        {"main_win_menu_mode_rect", "Rectangle"},
        {"main_win_menu_preview", "Preview"},
        {"main_win_menu_zoom_in", "Zoom In"},
        {"main_win_menu_zoom_out", "Zoom Out"},
        {"main_win_menu_zoom_fit", "Fit to Window"},
        {"main_win_menu_clear", "Clear"},
        {"main_win_menu_undo", "Undo"},
        {"main_win_menu_redo", "Redo"},
        {"main_win_menu_mistakes", "Show mistakes"},
        {"main_win_status_no_mistakes", "No mistakes"},
        {"main_win_status_mistakes", "Mistakes: %d"},
        {"main_win_menu_hover", "Highlight hover crosshair"},
        {"main_win_menu_help", "Help"},
        {"main_win_menu_about", "About..."},
        {"suggest_button_active", "Click to suggest a course"},
        {"suggest_button_wait", "Please, wait %d second..."},
        // Status texts of the cell states.
        {"cell_state_empty", "empty"},
        {"cell_state_def_yes", "present"},
        {"cell_state_def_no", "absence"},
        {"cell_state_mark", "mark"},
        // Hints of the crossword tree.
        {"tree_view_hint_category",
         " Category: %s\\n" HINT_RULE "\\n Solved - %d\\n Edited - %d\\n Total - %d"},
        {"tree_view_hint_item", " Crossword # %s (%s)\\n" HINT_RULE "\\n Crossword type - %s\\n Difficulty level - %s"},
        {"tree_view_hint_type_cross_bw", "Black&White"},
        {"tree_view_hint_type_cross_col", "Color"},
        {"tree_view_hint_cross_diff_level_0", "Easy"},
        {"tree_view_hint_cross_diff_level_1", "Medium"},
        {"tree_view_hint_cross_diff_level_2", "Difficult"},
        {"tree_view_hint_cross_diff_level_3", "Very difficult"},
        {"tree_view_hint_cross_state_solved", "solved"},
        {"tree_view_hint_cross_state_edited", "edited"},
        {"tree_view_hint_time", " Time - %s"},
        // Dialogs.
        {"preference_win_caption", "Preference"},
        {"preference_win_cat_common", "Common option"},
        {"preference_win_com_language", "Language selection"},
        {"preference_win_com_game", "Game option"},
        {"preference_win_com_auto_mark", "Auto marks number cell"},
        {"preference_win_com_show_hover", "Highlight hover crosshair"},
        {"preference_win_com_live_mistakes", "Show mistakes as they happen"},
        {"preference_win_com_line_help", "Cross the rest of a finished line"},
        {"profile_win_select_user", "Select user"},
        {"profile_win_user_name", "User name"},
        {"profile_win_name_empty", "Please type a user name."},
        {"profile_win_name_invalid",
         "The user name becomes the name of the profile file, so it cannot be \".\" or \"..\" and cannot hold / \\ "
         "< > : \" | ? * or letters this system's code page lacks. Please choose another name."},
        {"profile_win_name_too_long", "This user name is too long for a file name. Please choose a shorter one."},
        {"profile_win_in_use", "This profile is open in another window of the game.\\nChoose another profile."},
        {"select_cross_confirm",
         "The current crossword is not solved.\\n Are you want loads the crossword and overrides current?"},
        {"common_str_confirmation", "Confirmation"},
        {"solved_info_caption", "The crossword is solved"},
        {"solved_info_text", "Congratulations,\\n You solved the crossword."},
        {"solved_info_continue", "Continue"},
        {"solved_info_time", "Time: %s"},
        {"preview_win_caption", "Preview"},
        {"about_win_caption", "About..."},
        {"about_info", "Tessellor - a game of Japanese crosswords: picture puzzles solved from the number clues of "
                       "their rows and columns.\\n\\nMade with Qt (GNU LGPL version 3).\\n\\nPacks are read with "
                       "libzip (BSD 3-clause licence)."},
        {"about_version", "version: %s"},
        {"common_str_ok", "Ok"},
        {"common_str_cancel", "Cancel"},
        {"common_str_apply", "Apply"},
        // Help viewer.
        {"help_win_back", "Back"},
        {"help_win_forward", "Forward"},
        {"help_win_contents", "Contents"},
        {"help_win_no_folder",
         "The help pages could not be found. They belong in the folder \"help\" beside the program's data:\n"},
        {"help_win_no_page", "This help page is missing:\n"},
        // Importing puzzles.
        {"import_win_caption", "Import puzzles"},
        {"import_win_files", "Puzzles and pictures"},
        {"import_win_all_files", "All files"},
        {"import_done", "%d crosswords were added to the pack \"Imported\"."},
        {"import_refused", "Not imported:"},
        {"import_pack_unreadable", "The pack \"Imported\" could not be read, so nothing was imported:\n"},
        {"import_pack_unwritable", "The pack \"Imported\" could not be written, so nothing was imported:\n"},
        {"import_reading", "Reading the files..."},
        {"import_progress", "Puzzle %d of %d"},
        // Errors: the program itself knows only the keys.
        {"error_30000", "Unknown error: error_30000"},
        {"error_30004", "Unknown error: error_30004"},
        {"error_30005", "Unknown error: error_30005"},
        {"error_30006", "Unknown error: error_30006"},
        {"error_30007", "Unknown error: error_30007"},
    };
    return keys;
}

std::vector<std::string> formatPlaceholders(const std::string& text)
{
    std::vector<std::string> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && std::strchr("-+ #0123456789.*lhLqjzt", text[j]))
            ++j;
        if (j < text.size())
            ++j;
        found.push_back(text.substr(i, j - i));
        i = j - 1;
    }
    return found;
}
