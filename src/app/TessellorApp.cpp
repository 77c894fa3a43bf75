#include "app/TessellorApp.h"

#include "app/MainForm.h"

#include <QMessageBox>

#include <cstdio>
#include <string>

TessellorApp::TessellorApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool TessellorApp::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (MainForm* form = MainForm::instance())
            form->AppException(receiver, &e);
        else
            std::fprintf(stderr, "Tessellor: %s\n", e.what());
    } catch (...) {
        const std::runtime_error unknown("Unknown error");
        if (MainForm* form = MainForm::instance())
            form->AppException(receiver, &unknown);
    }
    return false;
}

bool hasSolveSwitch(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line.find("/solve") != std::string::npos;
}
