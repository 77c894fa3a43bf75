#include "widgets/HelpViewer.h"
#include "widgets/UiText.h"

#include "config/CodePage.h"
#include "config/Localization.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

const QString kShippedHelp = QStringLiteral(TESSELLOR_SOURCE_DIR "/help");

struct Messages {
    QStringList texts;
    HelpViewer::MessageHandler handler()
    {
        return [this](const QString&, const QString& text) { texts << text; };
    }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

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
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)"));
    for (const QString& page : pages) {
        QFile f(dir.filePath(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.isEmpty())
                continue;
            EXPECT_FALSE(target.contains(QStringLiteral(":"))) << page.toStdString() << " links out: " << target.toStdString();
            EXPECT_TRUE(QFile::exists(dir.filePath(target))) << page.toStdString() << " -> " << target.toStdString();
        }
    }
}

TEST(HelpViewer, OpensThePageOfTheContextAndFollowsLinks)
{
    HelpViewer viewer;
    Messages messages;
    viewer.setMessageHandler(messages.handler());
    viewer.setHelpFolder(kShippedHelp);
    ASSERT_TRUE(viewer.showContext(HelpViewer::kPreferencesContext));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.browser()->source().fileName(), QStringLiteral("preferences.html"));
    EXPECT_TRUE(viewer.browser()->toPlainText().contains(QStringLiteral("Auto marks number cell")));
    EXPECT_TRUE(viewer.windowTitle().contains(QStringLiteral("Preferences")));

    // A relative link inside a page lands on the sibling page.
    viewer.browser()->setSource(QUrl(QStringLiteral("clues.html")));
    EXPECT_EQ(viewer.browser()->source().fileName(), QStringLiteral("clues.html"));
    EXPECT_FALSE(viewer.browser()->toPlainText().isEmpty());
    EXPECT_TRUE(viewer.browser()->isBackwardAvailable());

    ASSERT_TRUE(viewer.showContext(HelpViewer::kMainContext));
    EXPECT_EQ(viewer.browser()->source().fileName(), QStringLiteral("index.html"));

    // Escape typed into the page closes the window.
    QTest::keyClick(viewer.browser(), Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible());
}

TEST(HelpViewer, MissingFolderOrPageIsReportedAndNothingOpens)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    HelpViewer viewer;
    Messages messages;
    viewer.setMessageHandler(messages.handler());

    const QString absent = tmp.filePath(QStringLiteral("no-such-help"));
    viewer.setHelpFolder(absent);
    EXPECT_FALSE(viewer.showContext(HelpViewer::kMainContext));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QDir::toNativeSeparators(absent)));
    EXPECT_FALSE(viewer.isVisible());

    // A file where the folder should be is no folder either.
    writeFile(tmp.filePath(QStringLiteral("plain")), "x");
    viewer.setHelpFolder(tmp.filePath(QStringLiteral("plain")));
    EXPECT_FALSE(viewer.showContext(HelpViewer::kMainContext));
    EXPECT_EQ(messages.texts.size(), 2);

    // Folder present, one page missing: only that context fails.
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("help")));
    writeFile(tmp.filePath(QStringLiteral("help/index.html")), "<html><body>Contents page</body></html>");
    viewer.setHelpFolder(tmp.filePath(QStringLiteral("help")));
    EXPECT_FALSE(viewer.showContext(HelpViewer::kAboutContext));
    ASSERT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(messages.texts[2].contains(QStringLiteral("about.html")));
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_TRUE(viewer.showContext(HelpViewer::kMainContext));
    EXPECT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(viewer.browser()->toPlainText().contains(QStringLiteral("Contents page")));
}

TEST(UiText, DefaultsWithoutATableTranslationsWithOneAndEightBitConversion)
{
    ASSERT_EQ(Localization::global(), nullptr);
    EXPECT_EQ(uitext::text("main_win_menu_help", "Help"), QStringLiteral("Help"));
    EXPECT_EQ(uitext::text("x", "two\\nlines"), QStringLiteral("two\nlines"));

    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // "Hilfe" with an e-acute in Windows-1252, to see the code page applied.
    writeFile(tmp.filePath(QStringLiteral("test.lng")), "main_win_menu_help=Hilf\xE9\n");
    Localization table;
    table.setFolder(tmp.path().toStdString());
    table.LoadLanguage("test");
    Localization::setGlobal(&table);
    codepage::setCurrent(1252);
    EXPECT_EQ(uitext::text("main_win_menu_help", "Help"), QStringLiteral("Hilf\u00E9"));
    EXPECT_EQ(uitext::text("absent_key", "Fallback"), QStringLiteral("Fallback"));
    {
        HelpViewer viewer;
        EXPECT_TRUE(viewer.windowTitle().startsWith(QStringLiteral("Hilf\u00E9")));
    }
    Localization::setGlobal(nullptr);
}
