// A hidden scroll bar: Min, Max and Value with a Change signal raised synchronously and only
// on a real change. A value outside [Min, Max] is clamped, never an error, and moving Min or
// Max clamps Value (raising Change once when it moves).
#pragma once

#include <QObject>

namespace platform::qt {

class ValueBar : public QObject {
    Q_OBJECT
  public:
    explicit ValueBar(QObject* parent = nullptr) : QObject(parent) {}

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    bool Enabled() const { return enabled_; }

    void SetMin(int min);
    void SetMax(int max);
    void SetValue(int value);
    void SetEnabled(bool enabled) { enabled_ = enabled; }

  signals:
    void Change();

  private:
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    bool enabled_ = true;
};

}  // namespace platform::qt
