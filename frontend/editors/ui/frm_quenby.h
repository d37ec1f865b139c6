// The melody importer dialog: imports one track or channel of a MIDI file as the song's
// melody, or generates a random one, through the melody worker.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "frontend/core/ui/form_dialog.h"
#include "platform/qt/caption_label.h"

namespace corvane::editors {

class FrmQuenby : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmQuenby(QWidget* parent = nullptr);

    QPushButton* CmdLoadIn = nullptr;
    QPushButton* CmdKeyDetect = nullptr;
    std::array<QRadioButton*, 16> OptTrk{};
    QLineEdit* TxtScaleVol = nullptr;
    QCheckBox* ChkNhan2 = nullptr;
    QLineEdit* TxtIntro = nullptr;
    QLineEdit* TxtEnding = nullptr;
    platform::qt::CaptionLabel* LblKeyFindInfo = nullptr;
};

}  // namespace corvane::editors
