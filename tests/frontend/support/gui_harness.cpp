#include "tests/frontend/support/gui_harness.h"

#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <random>

#include "platform/qt/single_instance.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

fs::path MakeRoot() {
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("orvella-gui-" + std::to_string(entropy()));
        if (fs::create_directory(candidate)) return candidate;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

CorvaneTest::CorvaneTest(bool withLibraryStyles) {
    root_ = MakeRoot();
    folder_ = root_ / "program";
    configHome_ = root_ / "config";
    fs::create_directories(folder_);
    fs::create_directories(configHome_);
    fs::create_directories(root_ / "data");
    fs::create_directories(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
    PrepareProgramFolder(folder_, withLibraryStyles);
    fs::current_path(folder_);
}

CorvaneTest::~CorvaneTest() {
    app_.reset();
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(root_, ignored);
}

StartupOutcome CorvaneTest::StartCorvane() {
    app_ = std::make_unique<App>();
    const StartupOutcome outcome = app_->Start();
    // The window system activates the shown main window a moment later; on a busy machine that
    // can come after a test has opened a dialog, which the late activation would then close.
    if (outcome == StartupOutcome::kShown)
        WaitUntil([this] { return app_->frmMain().isActiveWindow(); });
    return outcome;
}

void CorvaneTest::EndCorvane() {
    app_.reset();
}

std::unique_ptr<QProcess> CorvaneTest::LaunchCorvane(bool quitWhenShown) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ORVELLA_MSGBOX_LOG",
                       QString::fromStdString((root_ / "msgbox.log").string()));
    environment.insert("ORVELLA_QUIT_WHEN_SHOWN", quitWhenShown ? "1" : "0");
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(QString::fromStdString(folder_.string()));
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QString::fromStdString((folder_ / "Corvane").string()), {});
    process->waitForStarted();
    return process;
}

ProcessRun CorvaneTest::Finish(QProcess& process, int timeoutMs) {
    ProcessRun run;
    if (process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    } else {
        process.kill();
        process.waitForFinished();
    }
    run.output = QString::fromLocal8Bit(process.readAll());
    QFile log(QString::fromStdString((root_ / "msgbox.log").string()));
    if (log.open(QIODevice::ReadOnly)) {
        run.messageBoxes = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    return run;
}

ProcessRun CorvaneTest::RunCorvane(bool quitWhenShown, int timeoutMs) {
    auto process = LaunchCorvane(quitWhenShown);
    return Finish(*process, timeoutMs);
}

bool CorvaneTest::InstanceHeld() const {
    const platform::qt::InstanceLock probe("Corvane", folder_.string());
    return probe.anotherRunning();
}

}  // namespace corvane::testing
