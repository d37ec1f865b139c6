#include "frontend/shell/ui/frm_about.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "frontend/core/ui/make_control.h"
#include "frontend/shell/skinart/skin_art.h"

namespace corvane::shell {
namespace {

const char* const kCredits =
    "<b>Orvella 2426</b> &mdash; automatic accompaniment for a melody<br>"
    "Design, program and artwork: the Orvella developers";

const char* const kLicences =
    "Built with Qt 6 (GNU LGPL 3) and FluidSynth (GNU LGPL 2.1 or later).<br>"
    "Sound: the General MIDI soundfont installed on the system "
    "(FluidR3_GM, MIT licence).<br>"
    "Fonts: DejaVu (Bitstream Vera licence; DejaVu changes in the public domain).";

}  // namespace

FrmAbout::FrmAbout(QWidget* parent) : FormDialog("FrmAbout", "About Box", parent) {
    const skin::SkinImageId about{skin::SkinImageKind::kAboutPicture};
    const QSize picture = skin::SkinArt::LogicalSize(about);
    constexpr int kMargin = 12;
    setFixedSize(picture.width() + 2 * kMargin, picture.height() + 120);
    setStyleSheet("QDialog { background: #151B23; } QLabel { color: #D8E2EE; }");

    ImgAbout = MakeControl<QLabel>(this, "ImgAbout", {QPoint(kMargin, kMargin), picture});
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpr = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    ImgAbout->setPixmap(QPixmap::fromImage(skin::SkinArt::render(about, dpr)));

    const int textTop = kMargin + picture.height() + 10;
    const int textWidth = picture.width();
    LblCredits = MakeControl<QLabel>(this, "LblCredits", {kMargin, textTop, textWidth, 36});
    LblCredits->setText(kCredits);
    LblCredits->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LblLicences = MakeControl<QLabel>(this, "LblLicences", {kMargin, textTop + 40, textWidth, 60});
    LblLicences->setText(kLicences);
    LblLicences->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LblLicences->setStyleSheet("color: #8FA3BD;");
}

void FrmAbout::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
        Form_Deactivate();
    }
    FormDialog::changeEvent(event);
}

void FrmAbout::focusOutEvent(QFocusEvent* event) {
    if (isVisible() && !isActiveWindow()) Form_LostFocus();
    FormDialog::focusOutEvent(event);
}

}  // namespace corvane::shell
