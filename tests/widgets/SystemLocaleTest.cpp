#include "config/CodePage.h"
#include "config/Localization.h"
#include "dialogs/PreviewFrm.h"
#include "widgets/HelpViewer.h"
#include "widgets/SystemLocale.h"
#include "widgets/UiText.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

namespace {

struct LocaleCase {
    const char* locale;
    unsigned id;
    const char* language;
    int codePage;
};

TEST(SystemLocale, LocalesMapToTheirLanguageFileAndCodePage)
{
    // One locale per code page, plus the places where the script, not the
    // language, decides (Serbian in Cyrillic or Latin, Croatian).
    const LocaleCase cases[] = {
        {"ru_RU", 0x19, "russian", 1251},      {"de_AT", 0x07, "german", 1252},  {"pl_PL", 0x15, "polish", 1250},
        {"el_GR", 0x08, "greek", 1253},        {"tr_TR", 0x1F, "turkish", 1254}, {"he_IL", 0x0D, "hebrew", 1255},
        {"fa_IR", 0x29, "farsi", 1256},        {"lt_LT", 0x27, "lithuanian", 1257}, {"vi_VN", 0x2A, "vietnamese", 1258},
        {"hr_HR", 0x1A, "serbian", 1250},      {"sr_RS", 0x1A, "serbian", 1251}, {"sr_Latn_RS", 0x1A, "serbian", 1250},
        {"ja_JP", 0x11, "japanese", 1252},     {"af_ZA", 0x36, "english", 1252}, {"C", 0x00, "english", 1252},
    };
    for (const LocaleCase& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(systemlocale::primaryLanguageId(locale), c.id) << c.locale;
        EXPECT_EQ(Localization::DefaultLanguageName(systemlocale::primaryLanguageId(locale)), c.language) << c.locale;
        EXPECT_EQ(systemlocale::codePage(locale), c.codePage) << c.locale;
    }
}

void writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

// Windows created after the table register themselves and follow every later
// load; one that is gone by then must not be reached.
TEST(LanguageCallbacks, WindowsFollowLoadsAndADeletedWindowIsSkipped)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    writeFile(tmp.filePath(QStringLiteral("one.lng")), "preview_win_caption=First\nhelp_win_back=Back one\n");
    writeFile(tmp.filePath(QStringLiteral("two.lng")), "preview_win_caption=Second\nhelp_win_back=Back two\n");
    Localization table;
    table.setFolder(tmp.path().toStdString());
    Localization::setGlobal(&table);
    {
        PreviewFrm preview(nullptr);
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("PreviewFrm")) << "registering sets nothing";
        auto* viewer = new HelpViewer(nullptr);
        QAction* back = nullptr;
        for (QAction* action : viewer->findChildren<QAction*>())
            if (action->text() == QStringLiteral("Back"))
                back = action;
        ASSERT_NE(back, nullptr);

        table.LoadLanguage("one");
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("First"));
        EXPECT_EQ(back->text(), QStringLiteral("Back one"));

        delete viewer;
        table.LoadLanguage("two");
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Second"));
    }
    // Both windows are gone now.
    table.LoadLanguage("one");
    Localization::setGlobal(nullptr);
}

}  // namespace
