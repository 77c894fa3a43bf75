#include "data/TreeHint.h"

#include "config/Localization.h"
#include "config/SafeFormat.h"
#include "data/PackModel.h"

namespace {

std::string text(const Localization* table, const std::string& key, const std::string& defaultText)
{
    return table ? table->GetText(key, defaultText) : Localization::expandLineBreaks(defaultText);
}

// Eleven em dashes (0x97 in the Windows code pages) under the hint's title.
const std::string kRule(11, '\x97');

} // namespace

namespace treehint {

std::string category(const TPackModelDir& dir, const Localization* table)
{
    const std::string format = text(table, "tree_view_hint_category",
                                    " Category: %s\\n" + kRule + "\\n Solved - %d\\n Edited - %d\\n Total - %d");
    return safeFormat(format, {dir.name, std::int64_t(dir.solvedCount), std::int64_t(dir.editedCount),
                               std::int64_t(dir.totalCount)});
}

std::string crossword(const TPackModelFile& file, const Localization* table, std::uint32_t seconds)
{
    const std::string state = file.solved   ? text(table, "tree_view_hint_cross_state_solved", "solved")
                              : file.edited ? text(table, "tree_view_hint_cross_state_edited", "edited")
                                            : std::string();
    const std::string type = file.isColor ? text(table, "tree_view_hint_type_cross_col", "Color")
                                          : text(table, "tree_view_hint_type_cross_bw", "Black&White");
    static const char* const levelKeys[] = {"tree_view_hint_cross_diff_level_0", "tree_view_hint_cross_diff_level_1",
                                            "tree_view_hint_cross_diff_level_2", "tree_view_hint_cross_diff_level_3"};
    static const char* const levelTexts[] = {"Easy", "Medium", "Difficult", "Very difficult"};
    const std::string level = file.level <= 3 ? text(table, levelKeys[file.level], levelTexts[file.level]) : std::string();
    const std::string format = text(table, "tree_view_hint_item",
                                    " Crossword # %s (%s)\\n" + kRule + "\\n Crossword type - %s\\n Difficulty level - %s");
    std::string hint = safeFormat(format, {file.name, state, type, level});
    // A line of its own from a key of its own: the item format above is
    // translated in language files that know nothing of times. A crossword
    // played before the game kept times has none to show, not "0:00".
    if ((file.solved || file.edited) && seconds > 0)
        hint += "\n" + safeFormat(text(table, "tree_view_hint_time", " Time - %s"), {clockText(seconds)});
    return hint;
}

} // namespace treehint
