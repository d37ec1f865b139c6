#include "platform/qt/value_bar.h"

#include <algorithm>

namespace platform::qt {

void ValueBar::SetMin(int min) {
    min_ = min;
    if (max_ < min_) max_ = min_;
    SetValue(value_);
}

void ValueBar::SetMax(int max) {
    max_ = max;
    if (min_ > max_) min_ = max_;
    SetValue(value_);
}

void ValueBar::SetValue(int value) {
    const int clamped = std::clamp(value, min_, max_);
    if (clamped == value_) return;
    value_ = clamped;
    emit Change();
}

}  // namespace platform::qt
