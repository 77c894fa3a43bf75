#pragma once

#include <QApplication>

// The application object. Every event goes through notify, so this is the
// one place where an exception escaping any event handler is caught and
// handed to the main window instead of tearing the program down.
class TessellorApp : public QApplication {
    Q_OBJECT
public:
    TessellorApp(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// True when the command line, its arguments joined with blanks, holds
// "/solve" anywhere (case-sensitive, also inside a longer word).
bool hasSolveSwitch(int argc, const char* const* argv);

// Registers the compiled-in pictures (logo, cursors, icons); call once after
// the application object exists.
void initTessellorResources();
