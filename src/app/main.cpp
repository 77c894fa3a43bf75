#include "app/MainForm.h"
#include "app/TessellorApp.h"

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
        MainForm mainForm(solverSwitch);
        mainForm.show();
        app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessellor"), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
