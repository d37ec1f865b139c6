// The main window's style panel: the five slot options, the slot labels, one row of labels per
// part, the echo voices and levels with their pop-up list, the option mode labels, the reset
// and setting buttons, and the hidden scroll bars of the volume and echo sliders. FrmMain
// inherits them.
#pragma once

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "platform/qt/caption_label.h"
#include "platform/qt/timer_control.h"
#include "platform/qt/value_bar.h"

namespace corvane::styles {

using platform::qt::CaptionLabel;
using platform::qt::ValueBar;

struct StylePanelControls {
    QRadioButton* OptSty1 = nullptr;
    QRadioButton* OptSty2 = nullptr;
    QRadioButton* OptSty3 = nullptr;
    QRadioButton* OptSty4 = nullptr;
    QRadioButton* OptSty5 = nullptr;
    std::array<CaptionLabel*, 5> LblStyle{};  // one visible: the current slot's
    std::array<CaptionLabel*, 5> LblProgNum{};
    std::array<CaptionLabel*, 5> LblInstM{};
    std::array<QFrame*, 5> LineMode{};  // the sustain marks, in the shown slot's colour
    std::array<CaptionLabel*, 3> LblGMCode{};
    std::array<CaptionLabel*, 6> LblVsNen{};
    std::array<ValueBar*, 6> CanGatVol{};
    std::array<CaptionLabel*, 2> LblVoice{};
    std::array<CaptionLabel*, 2> LblEcho{};
    std::array<CaptionLabel*, 2> LblBackLevel{};
    std::array<ValueBar*, 2> CanGatEcho{};  // 0..9; the level shown is 9 - value
    QListWidget* LstEcho = nullptr;         // row r: program r + 1
    CaptionLabel* LblMode = nullptr;
    CaptionLabel* LblMix = nullptr;
    QPushButton* CmdResetV = nullptr;
    QPushButton* CmdResetI = nullptr;
    QPushButton* CmdResetM = nullptr;
    QPushButton* CmdSaveSet = nullptr;
    QPushButton* CmdLoadSet = nullptr;
    platform::qt::TimerControl* TimerMidi = nullptr;  // the audition's steps

    void CreateStylePanelControls(QWidget* form);
    // The part rows' colour: the program numbers, the mode digits, their headings and the
    // sustain marks.
    void PaintPartRows(std::uint32_t colour);
    std::array<QRadioButton*, 5> SlotOptions() const {
        return {OptSty1, OptSty2, OptSty3, OptSty4, OptSty5};
    }
};

}  // namespace corvane::styles
