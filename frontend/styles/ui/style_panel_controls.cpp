#include "frontend/styles/ui/style_panel_controls.h"

#include "frontend/core/ui/make_control.h"
#include "frontend/styles/slot_tables.h"

namespace corvane::styles {

void StylePanelControls::CreateStylePanelControls(QWidget* form) {
    QRadioButton** options[5] = {&OptSty1, &OptSty2, &OptSty3, &OptSty4, &OptSty5};
    for (int i = 0; i < 5; ++i) {
        *options[i] = MakeControl<QRadioButton>(form, "OptSty" + QString::number(i + 1),
                                                {474 + 26 * i, 116, 20, 16});
        LblStyle[i] =
            MakeControl<CaptionLabel>(form, ElementName("LblStyle", i), {414, 236, 190, 16});
        LblStyle[i]->setVisible(i == 0);
    }
    OptSty1->setChecked(true);
    for (int p = 0; p < 5; ++p) {
        const int y = 138 + 20 * p;
        LblProgNum[p] =
            MakeControl<CaptionLabel>(form, ElementName("LblProgNum", p), {392, y, 30, 15});
        LblProgNum[p]->setText("0");
        LblInstM[p] = MakeControl<CaptionLabel>(form, ElementName("LblInstM", p), {426, y, 14, 15});
        LblInstM[p]->setText("0");
        // A short bright line beside the mode digit, level with its middle.
        LineMode[p] = MakeControl<QFrame>(form, ElementName("LineMode", p), {442, y + 7, 12, 2});
        LineMode[p]->hide();
    }
    // The headings over the mode digits, the volume grooves and the program numbers; the
    // volume heading also shows a dragged thumb's value ("Default" at 0). "Mode" ends before
    // the slot badge beside it.
    const char* headings[3] = {"Mode", "Volume", "Code"};
    const QRect headingPlaces[3] = {{426, 118, 28, 15}, {308, 118, 44, 15}, {392, 118, 30, 15}};
    for (int i = 0; i < 3; ++i) {
        LblGMCode[i] =
            MakeControl<CaptionLabel>(form, ElementName("LblGMCode", i), headingPlaces[i]);
        LblGMCode[i]->setText(headings[i]);
    }
    for (int i = 0; i < 6; ++i) {
        const QRect groove = i < 5 ? QRect(308, 138 + 20 * i, 78, 15) : QRect(276, 236, 133, 15);
        LblVsNen[i] = MakeControl<CaptionLabel>(form, ElementName("LblVsNen", i), groove);
        CanGatVol[i] = MakeObject<ValueBar>(form, ElementName("CanGatVol", i));
        // Part volumes 0..127 (0 = the style's own), the master volume 20..100.
        CanGatVol[i]->SetMax(i < 5 ? 127 : 100);
        if (i == 5) {
            CanGatVol[i]->SetMin(20);
            CanGatVol[i]->SetValue(80);
        }
    }
    LblVsNen[5]->setToolTip(" Master Accompaniment Volume for style 1 ");
    PaintPartRows(kSlotColours[0]);
    for (int i = 0; i < 2; ++i) {
        const int y = i == 1 ? 148 : 168;
        LblVoice[i] = MakeControl<CaptionLabel>(form, ElementName("LblVoice", i), {472, y, 36, 15});
        LblVoice[i]->setText(QString("Echo %1:").arg(i + 1));
        QFont narrow = LblVoice[i]->font();
        narrow.setPixelSize(9);
        LblVoice[i]->setFont(narrow);
        LblEcho[i] = MakeControl<CaptionLabel>(form, ElementName("LblEcho", i), {508, y, 22, 15});
        LblBackLevel[i] =
            MakeControl<CaptionLabel>(form, ElementName("LblBackLevel", i), {594, y, 10, 15});
        CanGatEcho[i] = MakeObject<ValueBar>(form, ElementName("CanGatEcho", i));
        CanGatEcho[i]->SetMax(9);
    }
    LstEcho = MakeControl<QListWidget>(form, "LstEcho", {470, 190, 150, 120});
    LstEcho->hide();
    // The option names beside their round buttons, ending clear of the volume thumbs at 0.
    LblMode = MakeControl<CaptionLabel>(form, "LblMode", {264, 160, 42, 15});
    LblMix = MakeControl<CaptionLabel>(form, "LblMix", {264, 180, 42, 15});
    CmdResetV = MakeControl<QPushButton>(form, "CmdResetV", {340, 256, 16, 16});
    CmdResetI = MakeControl<QPushButton>(form, "CmdResetI", {398, 256, 16, 16});
    CmdResetM = MakeControl<QPushButton>(form, "CmdResetM", {426, 256, 16, 16});
    CmdResetI->setToolTip(" Reset Codes to default ");
    CmdResetM->setToolTip(" Reset Modes to default ");
    CmdResetV->setToolTip(" Reset Volumes to default ");
    CmdSaveSet = MakeControl<QPushButton>(form, "CmdSaveSet", {560, 256, 20, 20});
    CmdSaveSet->setToolTip(" Save current settings as an User Style ");
    CmdLoadSet = MakeControl<QPushButton>(form, "CmdLoadSet", {584, 256, 20, 20});
    TimerMidi = MakeObject<platform::qt::TimerControl>(form, "TimerMidi");
}

void StylePanelControls::PaintPartRows(std::uint32_t colour) {
    for (CaptionLabel* heading : LblGMCode) heading->SetForeColor(colour);
    for (int p = 0; p < 5; ++p) {
        LblProgNum[p]->SetForeColor(colour);
        LblInstM[p]->SetForeColor(colour);
        LineMode[p]->setStyleSheet("background-color: " + platform::qt::ColourOf(colour).name() +
                                   "; border: none");
    }
}

}  // namespace corvane::styles
