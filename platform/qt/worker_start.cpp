#include "platform/qt/worker_start.h"

#include <signal.h>

#include <QFileInfo>
#include <QProcess>

namespace platform::qt {

QStringList SplitCommandLine(const QString& commandLine) {
    return commandLine.split(' ');
}

bool StartHidden(const QString& commandLine, const QString& programFolder, qint64* processId) {
    QStringList tokens = SplitCommandLine(commandLine);
    const QString name = tokens.takeFirst();
    // Only a bare program name of the program folder is started, never a path elsewhere.
    if (name.isEmpty() || name.contains('/')) return false;
    const QString program = programFolder + "/" + name;
    if (!QFileInfo(program).isExecutable() || QFileInfo(program).isDir()) return false;
    qint64 pid = 0;
    if (!QProcess::startDetached(program, tokens, programFolder, &pid)) return false;
    if (processId != nullptr) *processId = pid;
    return true;
}

bool EndWorker(qint64 processId) {
    if (processId <= 0) return false;
    return ::kill(static_cast<pid_t>(processId), SIGKILL) == 0;
}

}  // namespace platform::qt
