#include "config/Localization.h"
#include "dialogs/PreviewFrm.h"
#include "widgets/HelpViewer.h"
#include "widgets/SystemLocale.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

const QString kShippedHelp = QStringLiteral(TESSELLOR_SOURCE_DIR "/help");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A help window whose messages are collected instead of shown.
struct Viewer : HelpViewer {
    QStringList messages;
    Viewer()
    {
        setMessageHandler([this](const QString&, const QString& text) { messages << text; });
    }
};

}  // namespace

TEST(HelpViewer, ShippedPagesExistAndEveryLinkBetweenThemResolves)
{
    const QDir dir(kShippedHelp);
    for (int context = 1004; context <= 1007; ++context)
        EXPECT_TRUE(QFile::exists(dir.filePath(HelpViewer::pageForContext(context)))) << context;
    for (int other : {0, 1003, 1008, -1})
        EXPECT_EQ(HelpViewer::pageForContext(other), QStringLiteral("index.html")) << other;

    const QStringList pages = dir.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 8);
    // The links and anchors of a page, in order, as one line.
    const auto links = [](const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << path.toStdString();
        static const QRegularExpression link(QStringLiteral("(?:href|id)=\"[^\"]*\""));
        QStringList found;
        for (auto it = link.globalMatch(html); it.hasNext();)
            found << it.next().captured(0);
        return found.join(QLatin1Char(' '));
    };
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)"));
    for (const QString& page : pages) {
        const QString english = links(dir.filePath(page));
        for (auto it = href.globalMatch(english); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.isEmpty())
                continue;
            EXPECT_FALSE(target.contains(QStringLiteral(":"))) << page.toStdString() << " links out: " << target.toStdString();
            EXPECT_TRUE(QFile::exists(dir.filePath(target))) << page.toStdString() << " -> " << target.toStdString();
        }
        // A translation keeps the page's name, links and anchors, so context
        // numbers and links land on the same place in every language; the
        // style sheet it shares lies one folder up.
        const QString translated = QString(english).replace(QStringLiteral("href=\"help.css"),
                                                            QStringLiteral("href=\"../help.css"));
        for (const char* language : {"german", "russian"})
            EXPECT_EQ(links(dir.filePath(QString::fromLatin1(language) + QLatin1Char('/') + page)).toStdString(),
                      translated.toStdString()) << language;
    }
}

// A player in German gets help/german's page, and the English one where the
// translation lacks it; links cross both ways, and a language switch shows
// the open page again in the new language.
TEST(HelpViewer, PagesComeFromTheLanguageFolderElseEnglish)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("help/german")));
    writeFile(tmp.filePath(QStringLiteral("german.lng")), "main_win_menu_help=Hilfe\n");
    writeFile(tmp.filePath(QStringLiteral("russian.lng")), "\n");
    for (const char* page : {"help/index.html", "help/about.html", "help/german/index.html"})
        writeFile(tmp.filePath(QString::fromLatin1(page)), QByteArray("<a href=\"index.html\">") + page + "</a>");
    Localization table;
    table.setFolder(tmp.path().toStdString());
    Localization::setGlobal(&table);
    table.LoadLanguage("german");
    Viewer viewer;
    viewer.setHelpFolder(tmp.filePath(QStringLiteral("help")));
    const auto shown = [&] { return viewer.browser()->source().toLocalFile().section(QLatin1Char('/'), -2); };

    EXPECT_TRUE(viewer.showContext(HelpViewer::kMainContext));
    EXPECT_EQ(shown(), QStringLiteral("german/index.html"));
    EXPECT_TRUE(viewer.showContext(HelpViewer::kAboutContext));
    EXPECT_EQ(shown(), QStringLiteral("help/about.html"));
    viewer.browser()->setSource(QUrl(QStringLiteral("index.html")));
    EXPECT_EQ(shown(), QStringLiteral("german/index.html"));
    table.LoadLanguage("russian");
    EXPECT_EQ(shown(), QStringLiteral("help/index.html"));
    EXPECT_FALSE(viewer.browser()->isBackwardAvailable());
    Localization::setGlobal(nullptr);
}

TEST(HelpViewer, OpensThePageOfTheContextFollowsLinksAndClosesOnEscape)
{
    Viewer viewer;
    viewer.setHelpFolder(kShippedHelp);
    ASSERT_TRUE(viewer.showContext(HelpViewer::kPreferencesContext));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.browser()->source().fileName(), QStringLiteral("preferences.html"));

    // A relative link inside a page lands on the sibling page.
    viewer.browser()->setSource(QUrl(QStringLiteral("clues.html")));
    EXPECT_EQ(viewer.browser()->source().fileName(), QStringLiteral("clues.html"));
    EXPECT_FALSE(viewer.browser()->toPlainText().isEmpty());
    EXPECT_TRUE(viewer.browser()->isBackwardAvailable());

    ASSERT_TRUE(viewer.showContext(HelpViewer::kMainContext));
    EXPECT_EQ(viewer.browser()->source().fileName(), QStringLiteral("index.html"));
    QTest::keyClick(viewer.browser(), Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible());
}

TEST(HelpViewer, MissingFolderOrPageIsReportedAndNothingOpens)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    Viewer viewer;
    // No folder, and a file where the folder should be.
    writeFile(tmp.filePath(QStringLiteral("plain")), "x");
    for (const QString& name : {QStringLiteral("no-such-help"), QStringLiteral("plain")}) {
        viewer.setHelpFolder(tmp.filePath(name));
        EXPECT_FALSE(viewer.showContext(HelpViewer::kMainContext));
        ASSERT_EQ(viewer.messages.size(), 1);
        EXPECT_TRUE(viewer.messages.takeFirst().contains(QDir::toNativeSeparators(tmp.filePath(name))));
        EXPECT_FALSE(viewer.isVisible());
    }

    // Folder present, one page missing: only that context fails.
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("help")));
    writeFile(tmp.filePath(QStringLiteral("help/index.html")), "<html><body>Contents page</body></html>");
    viewer.setHelpFolder(tmp.filePath(QStringLiteral("help")));
    EXPECT_FALSE(viewer.showContext(HelpViewer::kAboutContext));
    ASSERT_EQ(viewer.messages.size(), 1);
    EXPECT_TRUE(viewer.messages[0].contains(QStringLiteral("about.html")));
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_TRUE(viewer.showContext(HelpViewer::kMainContext));
    EXPECT_EQ(viewer.messages.size(), 1);
    EXPECT_TRUE(viewer.browser()->toPlainText().contains(QStringLiteral("Contents page")));
}

TEST(SystemLocale, LocalesMapToTheirLanguageFileAndCodePage)
{
    // One locale per code page, plus the places where the script, not the
    // language, decides (Serbian in Cyrillic or Latin, Croatian).
    const struct {
        const char* locale;
        unsigned id;
        const char* language;
        int codePage;
    } cases[] = {
        {"ru_RU", 0x19, "russian", 1251},      {"de_AT", 0x07, "german", 1252},  {"pl_PL", 0x15, "polish", 1250},
        {"el_GR", 0x08, "greek", 1253},        {"tr_TR", 0x1F, "turkish", 1254}, {"he_IL", 0x0D, "hebrew", 1255},
        {"fa_IR", 0x29, "farsi", 1256},        {"lt_LT", 0x27, "lithuanian", 1257}, {"vi_VN", 0x2A, "vietnamese", 1258},
        {"hr_HR", 0x1A, "serbian", 1250},      {"sr_RS", 0x1A, "serbian", 1251}, {"sr_Latn_RS", 0x1A, "serbian", 1250},
        {"ja_JP", 0x11, "japanese", 1252},     {"af_ZA", 0x36, "english", 1252}, {"C", 0x00, "english", 1252},
    };
    for (const auto& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        EXPECT_EQ(systemlocale::primaryLanguageId(locale), c.id) << c.locale;
        EXPECT_EQ(Localization::DefaultLanguageName(systemlocale::primaryLanguageId(locale)), c.language) << c.locale;
        EXPECT_EQ(systemlocale::codePage(locale), c.codePage) << c.locale;
    }
}

// Windows created after the table register themselves and follow every later
// load; one that is gone by then must not be reached.
TEST(LanguageCallbacks, WindowsFollowLoadsAndADeletedWindowIsSkipped)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    writeFile(tmp.filePath(QStringLiteral("one.lng")), "preview_win_caption=First\nmain_win_menu_help=Hilfe\n");
    writeFile(tmp.filePath(QStringLiteral("two.lng")), "preview_win_caption=Second\n");
    Localization table;
    table.setFolder(tmp.path().toStdString());
    Localization::setGlobal(&table);
    {
        PreviewFrm preview(nullptr);
        auto* viewer = new HelpViewer(nullptr);
        table.LoadLanguage("one");
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("First"));
        EXPECT_TRUE(viewer->windowTitle().startsWith(QStringLiteral("Hilfe")));
        delete viewer;
        table.LoadLanguage("two");
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Second"));
    }
    // Both windows are gone now.
    table.LoadLanguage("one");
    Localization::setGlobal(nullptr);
}
