// A picture button of the skinned main window. Until the skin is drawn this face paints a
// plain rounded button with its label; it carries the Enabled state the workflow switches and
// raises MouseUp when a press that began on it is released inside it.
#pragma once

#include <QWidget>

namespace corvane::shell {

class SkinFace : public QWidget {
    Q_OBJECT
  public:
    SkinFace(QWidget* parent = nullptr) : QWidget(parent) {}

    void SetLabel(const QString& label);
    QString Label() const { return label_; }

  signals:
    void MouseUp();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString label_;
    bool pressed_ = false;
};

}  // namespace corvane::shell
