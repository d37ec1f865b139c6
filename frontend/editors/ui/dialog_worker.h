// What the key list dialog and the melody importer dialog share: controls made the same way,
// and running a worker. Each of the two forms inherits DialogWorker, so it has the hidden
// button CmdMess, whose receiver hears only the started worker's completion, the time-out
// TimerMlMess and the flag MessTimedOut as its own members; the form keeps which run it waits
// for, so a completion is acted on only by its own run, and a run that times out has its worker
// ended.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "frontend/editors/key_detection.h"
#include "platform/qt/message_window.h"
#include "platform/qt/timer_control.h"

namespace corvane::editors {

QLabel* StaticText(QWidget* parent, const char* name, const QRect& place, const QString& text);
// A button that Enter on another control does not press.
QPushButton* Button(QWidget* parent, const char* name, const QRect& place, const QString& text);

// True for a focus loss the user made: not a switch to another program or to a message box.
bool LeftByUser(const QEvent* event);

struct DialogWorker {
    QPushButton* CmdMess = nullptr;  // hidden; its handle goes on the workers' command lines
    platform::qt::MessageWindow* CmdMessWindow = nullptr;
    platform::qt::TimerControl* TimerMlMess = nullptr;  // the time-out of the run
    // Set by a time-out until the late completion of that run has arrived or a run starts.
    bool MessTimedOut = false;
    DialogRun pendingRun = DialogRun::kNone;
    qint64 workerProcess = 0;  // the pending run's worker, 0 when none runs

    // Makes the three controls on `form` and connects them to the form's handlers.
    void CreateWorkerControls(QWidget* form, std::function<void(int, int)> keyUp,
                              std::function<void()> timer);
    // Binds a fresh handle, starts the program of `commandLineFor(handle)` from the program
    // folder and arms the time-out; false, with nothing waiting, when it could not start.
    bool StartWorker(DialogRun run,
                     const std::function<std::string(std::uint32_t)>& commandLineFor);
    // Where a completion goes; the late one after a time-out is dropped here, and a completion
    // of the pending run ends the wait.
    DialogCompletion ReceiveCompletion(int keyCode);
    // The run that timed out (none when nothing waited); it is no longer waited for, and its
    // worker is ended.
    DialogRun TimeOut();
    // The key code the detector left in "KeyCode.dat" (see DetectedKeyCode).
    static std::optional<int> ReadDetectedKeyCode();
};

}  // namespace corvane::editors
