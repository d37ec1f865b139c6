// A label whose caption other code reacts to: setting a different caption raises Change at
// once, before the setter returns; setting the same caption raises nothing. Colours are taken
// in the 0x00BBGGRR form the front end keeps them in.
#pragma once

#include <QLabel>
#include <cstdint>

namespace platform::qt {

// 0x00BBGGRR as a QColor.
QColor ColourOf(std::uint32_t bgr);

class CaptionLabel : public QLabel {
    Q_OBJECT
  public:
    explicit CaptionLabel(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    void SetForeColor(std::uint32_t bgr);
    std::uint32_t ForeColor() const { return foreColor_; }
    // A painted background keeps the fore colour unless the caption would vanish in it: a fore
    // colour too close in brightness to the background is drawn dark on a light background and
    // light on a dark one. ForeColor still reports the colour that was set.
    void SetBackColor(std::uint32_t bgr);

  signals:
    void Change();

  private:
    void Restyle();

    std::uint32_t foreColor_ = 0;
    bool hasForeColor_ = false;
    std::uint32_t backColor_ = 0;
    bool hasBackColor_ = false;
};

}  // namespace platform::qt
