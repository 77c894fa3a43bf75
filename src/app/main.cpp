#include "app/MainForm.h"
#include "app/TerminationSignals.h"
#include "app/TessellorApp.h"
#include "config/CodePage.h"
#include "widgets/SystemLocale.h"

#include <QMessageBox>

#include <exception>

int main(int argc, char** argv)
{
    const bool solverSwitch = hasSolveSwitch(argc, argv);
    try {
        TessellorApp app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Tessellor"));
        QApplication::setApplicationDisplayName(QStringLiteral("Tessellor"));
        initTessellorResources();
        // All texts are kept in the system's 8-bit code page; fix it before
        // the first one is read.
        codepage::setCurrent(systemlocale::codePage(QLocale::system()));
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
