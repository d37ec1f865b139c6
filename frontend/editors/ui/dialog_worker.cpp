#include "frontend/editors/ui/dialog_worker.h"

#include <QFocusEvent>

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/worker_start.h"
#include "platform/qt/worker_timeout.h"

namespace corvane::editors {
namespace {

// KeyCode.dat holds one short line; this is more than enough of it.
constexpr std::size_t kKeyCodeReadLimit = 4096;

}  // namespace

QLabel* StaticText(QWidget* parent, const char* name, const QRect& place, const QString& text) {
    auto* label = MakeControl<QLabel>(parent, name, place);
    label->setText(text);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const QRect& place, const QString& text) {
    auto* button = MakeControl<QPushButton>(parent, name, place);
    button->setText(text);
    button->setAutoDefault(false);
    return button;
}

bool LeftByUser(const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void DialogWorker::CreateWorkerControls(QWidget* form, std::function<void(int, int)> keyUp,
                                        std::function<void()> timer) {
    CmdMess = MakeControl<QPushButton>(form, "CmdMess");
    CmdMess->hide();
    CmdMessWindow = MakeObject<platform::qt::MessageWindow>(CmdMess, "CmdMessWindow");
    TimerMlMess = MakeObject<platform::qt::TimerControl>(form, "TimerMlMess");
    TimerMlMess->SetInterval(platform::qt::kWorkerTimeoutMs);
    QObject::connect(CmdMessWindow, &platform::qt::MessageWindow::KeyUp, form, std::move(keyUp));
    QObject::connect(TimerMlMess, &platform::qt::TimerControl::Timer, form, std::move(timer));
}

bool DialogWorker::StartWorker(DialogRun run,
                               const std::function<std::string(std::uint32_t)>& commandLineFor) {
    const std::uint32_t handle = CmdMessWindow->Rebind();
    MessTimedOut = false;
    if (handle == 0 || !platform::qt::StartHidden(commandLineFor(handle), App::Get().g.AppFolder,
                                                  &workerProcess)) {
        CmdMessWindow->Close();
        return false;
    }
    CmdMessWindow->ExpectFrom(workerProcess);
    pendingRun = run;
    TimerMlMess->SetInterval(platform::qt::WorkerTimeoutMs());
    TimerMlMess->SetEnabled(true);
    return true;
}

DialogCompletion DialogWorker::ReceiveCompletion(int keyCode) {
    const DialogCompletion route = RouteDialogCompletion(keyCode, pendingRun, MessTimedOut);
    if (route == DialogCompletion::kNotWaited) return route;
    TimerMlMess->SetEnabled(false);
    if (route == DialogCompletion::kLateAfterTimeOut) {
        MessTimedOut = false;
        return route;
    }
    // The worker has answered; nothing more may arrive for its run.
    CmdMessWindow->Close();
    pendingRun = DialogRun::kNone;
    workerProcess = 0;
    return route;
}

DialogRun DialogWorker::TimeOut() {
    TimerMlMess->SetEnabled(false);
    const DialogRun run = pendingRun;
    if (run != DialogRun::kNone) {
        pendingRun = DialogRun::kNone;
        MessTimedOut = true;
        // A worker left running could still write its files under what the user does next: a
        // late key detector would overwrite the key list the user has saved since.
        platform::qt::EndWorker(workerProcess);
        workerProcess = 0;
    }
    return run;
}

std::optional<int> DialogWorker::ReadDetectedKeyCode() {
    return DetectedKeyCode(platform::qt::ReadAtMost(InFolder("KeyCode.dat"), kKeyCodeReadLimit));
}

}  // namespace corvane::editors
