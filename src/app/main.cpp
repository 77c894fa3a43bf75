#include "app/MainForm.h"
#include "app/TerminationSignals.h"
#include "app/TessellorApp.h"
#include "config/CodePage.h"
#include "config/Folders.h"
#include "data/Pack.h"
#include "widgets/SystemLocale.h"

#include <QMessageBox>

#include <QDir>
#include <QFile>
#include <QIcon>

#include <cstdlib>
#include <exception>
#include <pwd.h>
#include <unistd.h>

namespace {
std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The layout the game works in (see config/Folders.h); false after telling
// the player why none could be set up.
bool enterFolders()
{
    folders::Inputs inputs;
    inputs.startFolder = QFile::encodeName(QDir::currentPath()).toStdString();
    inputs.executableFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    inputs.xdgDataHome = environment("XDG_DATA_HOME");
    inputs.home = environment("HOME");
    if (inputs.home.empty())
        if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
            inputs.home = account->pw_dir;
    std::string error;
    const folders::Layout layout = folders::choose(inputs, error);
    if (error.empty())
        folders::prepare(layout, error);
    if (error.empty())
        folders::apply(layout, error);
    if (error.empty()) {
        pack::setDataFolders(layout.packs);
        return true;
    }
    QMessageBox::critical(nullptr, QStringLiteral("Tessellor"), QString::fromStdString(error));
    return false;
}
}  // namespace

int main(int argc, char** argv)
{
    const bool solverSwitch = hasSolveSwitch(argc, argv);
    try {
        TessellorApp app(argc, argv);
        // The name only: a display name would be appended to every window
        // title (" — Tessellor"), and the titles are the game's own.
        QApplication::setApplicationName(QStringLiteral("Tessellor"));
        initTessellorResources();
        // The menu entry's name, so that desktops match the window to it.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.tessellor.Tessellor"));
        QIcon icon(QStringLiteral(":/ICON256"));
        icon.addFile(QStringLiteral(":/ICON48"));
        QApplication::setWindowIcon(icon);
        // All texts are kept in the system's 8-bit code page; fix it before
        // the first one is read.
        codepage::setCurrent(systemlocale::codePage(QLocale::system()));
        if (!enterFolders())
            return 1;
        MainForm mainForm(solverSwitch);
        mainForm.show();
        // Logout and kill end the game as the Exit command does, so the
        // profile is written.
        endOnTerminationSignals([&mainForm] { mainForm.ExitClick(); });
        app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessellor"), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
