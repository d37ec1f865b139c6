#include "platform/qt/worker_start.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

extern char** environ;

namespace platform::qt {
namespace {

// Workers started here are children of the front end, so their ends are collected here: as
// soon as a worker ends (through a process descriptor the event loop watches, or by looking a
// few times a second where the kernel offers none), and at the next start for good measure.
// Nothing waits for a worker while it runs.
constexpr int kPollMs = 250;
std::vector<pid_t>& Unreaped() {
    static std::vector<pid_t> pids;
    return pids;
}

void ReapEnded() {
    auto& pids = Unreaped();
    std::erase_if(pids, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

// Without a process descriptor the end is looked for a few times a second.
void PollUntilEnded(pid_t pid) {
    QTimer::singleShot(kPollMs, QCoreApplication::instance(), [pid] {
        if (::waitpid(pid, nullptr, WNOHANG) == 0) {
            PollUntilEnded(pid);
        } else {
            std::erase(Unreaped(), pid);
        }
    });
}

void CollectWhenEnded(pid_t pid) {
    Unreaped().push_back(pid);
    if (QCoreApplication::instance() == nullptr) return;
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) {
        PollUntilEnded(pid);
        return;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, fd, pid] {
        notifier->setEnabled(false);
        ::waitpid(pid, nullptr, WNOHANG);
        std::erase(Unreaped(), pid);
        ::close(fd);
        notifier->deleteLater();
    });
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> tokens;
    for (std::size_t start = 0;;) {
        const std::size_t blank = commandLine.find(' ', start);
        tokens.emplace_back(commandLine.substr(start, blank - start));
        if (blank == std::string_view::npos) return tokens;
        start = blank + 1;
    }
}

bool StartHidden(std::string_view commandLine, const std::string& programFolder, qint64* processId,
                 const std::string& workingFolder) {
    ReapEnded();
    std::vector<std::string> words = SplitCommandLine(commandLine);
    // Only a bare program name of the program folder is started, never a path elsewhere.
    if (words.front().empty() || words.front().find('/') != std::string::npos) return false;
    words.front().insert(0, programFolder + "/");
    const std::string& program = words.front();
    struct stat info;
    if (::stat(program.c_str(), &info) != 0 || S_ISDIR(info.st_mode) ||
        ::access(program.c_str(), X_OK) != 0) {
        return false;
    }

    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // posix_spawn does not copy the front end's memory as fork would, which makes a start a
    // matter of a millisecond; the worker gets its folder as its current folder and none of the
    // front end's open files.
    const std::string& folder = workingFolder.empty() ? programFolder : workingFolder;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    CollectWhenEnded(pid);
    if (processId != nullptr) *processId = pid;
    return true;
}

bool EndWorker(qint64 processId) {
    // Once collected, the id may already belong to another process, which must not be hit.
    const auto& started = Unreaped();
    if (std::find(started.begin(), started.end(), static_cast<pid_t>(processId)) == started.end())
        return false;
    const bool ended = ::kill(static_cast<pid_t>(processId), SIGKILL) == 0;
    ReapEnded();
    return ended;
}

}  // namespace platform::qt
