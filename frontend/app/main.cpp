// Corvane, the desktop front end. Everything happens in the main window's start-up; this only
// turns its outcome into the process's end. ORVELLA_QUIT_WHEN_SHOWN=1 ends the program once
// the main window is up, for the start-up benchmark.
#include <QApplication>
#include <QTimer>

#include "frontend/app/app.h"
#include "frontend/shell/window_platform.h"
#include "platform/qt/program_end.h"

int main(int argc, char** argv) {
    corvane::shell::PreferXcbUnderWayland();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvane");
    corvane::App app;
    switch (app.Start()) {
        case corvane::StartupOutcome::kAnotherInstance:
            return 0;
        case corvane::StartupOutcome::kFatal:
            return corvane::kFatalExitCode;
        case corvane::StartupOutcome::kShown:
            break;
    }
    // A fatal message during the first activation ends the program before its event loop.
    if (const auto code = platform::qt::ProgramEndCode()) return *code;
    if (qEnvironmentVariable("ORVELLA_QUIT_WHEN_SHOWN") == "1") {
        QTimer::singleShot(0, &application, &QApplication::quit);
    }
    return QApplication::exec();
}
