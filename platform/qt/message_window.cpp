#include "platform/qt/message_window.h"

#include <QSocketNotifier>
#include <random>

namespace platform::qt {

MessageWindow::MessageWindow(QObject* parent) : QObject(parent) {}
MessageWindow::~MessageWindow() {
    Close();
}

platform::Hwnd MessageWindow::Rebind() {
    Close();
    // The front end's handles stay below 2^30, so that every sum a worker's command line
    // carries (handle plus handshake constants) stays far from the 32-bit limit.
    static std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<platform::Hwnd> pick(1, kMaxFrontEndHandle);
    for (int attempt = 0; attempt < 32 && !receiver_; ++attempt) {
        receiver_ = platform::CompletionReceiver::OpenAt(pick(engine));
    }
    if (!receiver_) return 0;
    notifier_ = std::make_unique<QSocketNotifier>(receiver_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &MessageWindow::Drain);
    return receiver_->handle();
}

void MessageWindow::ExpectFrom(qint64 processId) {
    worker_ = static_cast<pid_t>(processId);
}

platform::Hwnd MessageWindow::hWnd() const {
    return receiver_ ? receiver_->handle() : 0;
}

void MessageWindow::Close() {
    if (notifier_) {
        // Close may run inside the notifier's own signal (a key-up handler starting the next
        // worker), so the notifier is switched off now and deleted later.
        notifier_->setEnabled(false);
        notifier_->disconnect(this);
        notifier_.release()->deleteLater();
    }
    receiver_.reset();
    worker_ = 0;
}

void MessageWindow::Drain() {
    if (!receiver_) return;
    // Everything queued is read; while no worker is heard, nothing of it counts (a sender of 0
    // would take anyone's).
    const auto completion = receiver_->TakeQueued(worker_);
    if (worker_ == 0 || !completion || completion->message != platform::WM_KEYUP) return;
    emit KeyUp(static_cast<int>(completion->wParam), completion->failed() ? kAltMask : 0);
}

}  // namespace platform::qt
