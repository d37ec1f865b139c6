#include "platform/qt/timer_control.h"

namespace platform::qt {

TimerControl::TimerControl(QObject* parent) : QObject(parent) {
    qtimer_.setSingleShot(false);
    connect(&qtimer_, &QTimer::timeout, this, &TimerControl::Timer);
    slot_.fire = [this] {
        // Periodic until the handler says otherwise.
        slot_.due = clock_->Now() + interval_;
        emit Timer();
    };
}

TimerControl::~TimerControl() {
    if (clock_ && clock_ == VirtualClock::Installed()) clock_->Unregister(&slot_);
}

void TimerControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Rearm();
}

void TimerControl::SetInterval(int ms) {
    interval_ = ms;
    Rearm();
}

void TimerControl::Rearm() {
    VirtualClock* clock = VirtualClock::Installed();
    if (clock != clock_) {
        clock_ = clock;
        if (clock_) clock_->Register(&slot_);
    }
    const bool running = enabled_ && interval_ > 0;
    if (clock_) {
        qtimer_.stop();
        slot_.due = running ? clock_->Now() + interval_ : -1;
        return;
    }
    if (running) {
        qtimer_.start(interval_);
    } else {
        qtimer_.stop();
    }
}

}  // namespace platform::qt
