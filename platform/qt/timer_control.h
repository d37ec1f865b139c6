// A form's timer control: it raises Timer every Interval milliseconds while it is Enabled and
// Interval is above 0. Enabling it or setting its Interval starts the count anew. It runs on a
// QTimer on the user-interface thread, or on the installed VirtualClock when a test has one.
#pragma once

#include <QObject>
#include <QTimer>

#include "platform/qt/virtual_clock.h"

namespace platform::qt {

class TimerControl : public QObject {
    Q_OBJECT
  public:
    explicit TimerControl(QObject* parent = nullptr);
    ~TimerControl() override;

    bool Enabled() const { return enabled_; }
    int Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    void SetInterval(int ms);

  signals:
    void Timer();

  private:
    void Rearm();

    bool enabled_ = false;
    int interval_ = 0;
    QTimer qtimer_;
    VirtualClock* clock_ = nullptr;  // the clock this timer registered with
    VirtualTimerSlot slot_;
};

}  // namespace platform::qt
