// The completion receiver of a hidden command button. At every worker start it binds a fresh
// completion handle (closing the one before), so a late completion of a worker that timed out
// reaches no listener; it reads completions on the UI thread and raises KeyUp with the
// completion code as the key code and the Alt state (4) for a failure, as a key-up event of the
// button would. Only the worker started with the handle is heard: any process of the user can
// send to the handle, and a datagram of another one (or one while no worker was started) is
// read and dropped, so it can neither end the wait nor fill the queue. The socket itself is
// platform/completion's receiver.
#pragma once

#include <QObject>
#include <memory>
#include <optional>

#include "platform/completion.h"

class QSocketNotifier;

namespace platform::qt {

// The shift state of a key-up event that reports a failed step.
constexpr int kAltMask = 4;
// The largest handle a front-end receiver picks (2^30 - 1).
constexpr platform::Hwnd kMaxFrontEndHandle = (1u << 30) - 1;

class MessageWindow : public QObject {
    Q_OBJECT
  public:
    explicit MessageWindow(QObject* parent = nullptr);
    ~MessageWindow() override;

    // A fresh handle for the next worker's command line; 0 when none could be bound. No worker
    // is heard on it until ExpectFrom names one.
    platform::Hwnd Rebind();
    // The process started with the handle, whose completion (and only its) raises KeyUp.
    void ExpectFrom(qint64 processId);
    // The handle bound now, 0 when none.
    platform::Hwnd hWnd() const;
    void Close();

  signals:
    void KeyUp(int keyCode, int shift);

  private:
    void Drain();

    std::optional<platform::CompletionReceiver> receiver_;
    pid_t worker_ = 0;  // the process heard, 0 while none
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform::qt
