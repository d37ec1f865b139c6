#include "frontend/shell/skin_buttons.h"

#include <cmath>

#include "frontend/core/vb_text.h"

namespace corvane::shell {
namespace {

using C = FaceCommand;
using Cond = FaceCondition;
using H = HoverVariant;

// Sizes, places and hit areas in twips as the window was designed; the bitmaps are the
// faces' pixel sizes. The chord list's area runs past its face's right edge and so ends there.
constexpr HitArea kWorkflowArea = HitArea::Rect(75, 890, 75, 330);
constexpr HitArea kSmallBarArea = HitArea::Rect(110, 910, 55, 210);
constexpr HitArea kSmallRoundArea = HitArea::Rect(55, 210, 55, 210);
constexpr HitArea kPlayArea = HitArea::Circle(412, 412, 300);
constexpr HitArea kTitleBarArea = HitArea::Rect(95, 1000, 60, 250);
constexpr HitArea kWindowButtonArea = HitArea::Rect(30, 210, 25, 230);

constexpr std::array<SkinFaceSpec, kFaceCount> kFaces = {{
    {FaceId::PictBrow, "PictBrow", 150, 1020, 1005, 435, 67, 29, kWorkflowArea,
     " Browse Input Midi Files ", true, true, false, H::kA, Cond::kNone, C::kBrowseInput},
    {FaceId::PictLoad, "PictLoad", 150, 1500, 1005, 435, 67, 29, kWorkflowArea,
     " 1.Load Selected Midi File ", true, true, false, H::kA, Cond::kFaceEnabled, C::kLoadIn},
    {FaceId::PictProc, "PictProc", 150, 1980, 1005, 435, 67, 29, kWorkflowArea,
     " 2.Create Chord List ", true, true, false, H::kA, Cond::kFaceEnabled, C::kProceed},
    {FaceId::PictStyl, "PictStyl", 150, 2460, 1005, 435, 67, 29, kWorkflowArea, "", true, true,
     false, H::kA, Cond::kNone, C::kShowSections},
    {FaceId::PictShChord, "PictShChord", 150, 2940, 1005, 435, 67, 29,
     HitArea::Rect(165, 1200, 100, 275), "", true, true, false, H::kC, Cond::kNone, C::kChordList},
    {FaceId::PictMake, "PictMake", 150, 3420, 1005, 435, 67, 29, kWorkflowArea,
     " 3.Create Output Data ", true, true, false, H::kA, Cond::kFaceEnabled, C::kMakeOutput},
    {FaceId::PictTest, "PictTest", 150, 3900, 1005, 435, 67, 29, kWorkflowArea, "", true, true,
     false, H::kA, Cond::kCmdTestOutEnabled, C::kTestOut},
    {FaceId::PictEndT, "PictEndT", 150, 3900, 1005, 435, 67, 29, kWorkflowArea, "", false, true,
     false, H::kA, Cond::kCmdTestOutEnabled, C::kTestOut},
    {FaceId::PictTeIn, "PictTeIn", 2940, 1430, 1050, 300, 70, 20, kSmallBarArea, "Test Input", true,
     true, false, H::kA, Cond::kFaceEnabled, C::kTestInput},
    {FaceId::PictStIn, "PictStIn", 2940, 1430, 1050, 300, 70, 20, kSmallBarArea,
     "Stop Testing Input", false, true, false, H::kA, Cond::kFaceEnabled, C::kTestInput},
    {FaceId::PictSOut, "PictSOut", 6300, 1430, 1050, 300, 70, 20, kSmallBarArea,
     " Save Output as Midi File ", true, false, false, H::kA, Cond::kNone, C::kSaveOutput},
    {FaceId::PictSave, "PictSave", 8760, 1440, 255, 255, 17, 17, HitArea::Rect(25, 200, 25, 200),
     "", true, false, false, H::kA, Cond::kNone, C::kSmallSave},
    {FaceId::PictMiVi, "PictMiVi", 3660, 2090, 285, 285, 19, 19, kSmallRoundArea,
     "Start Melody Importer/Converter", true, true, true, H::kA, Cond::kFaceEnabled,
     C::kMelodyImporter},
    {FaceId::PictOpt1, "PictOpt1", 3660, 2390, 285, 285, 19, 19, kSmallRoundArea,
     " Select an option 1 ", true, true, true, H::kA, Cond::kNone, C::kChordOptions},
    {FaceId::PictOpt2, "PictOpt2", 3660, 2690, 285, 285, 19, 19, kSmallRoundArea,
     " Select an option 2 ", true, true, true, H::kA, Cond::kNone, C::kMakeOptions},
    {FaceId::PictPlay, "PictPlay", 4415, 5160, 825, 825, 55, 55, kPlayArea, "", true, true, false,
     H::kB, Cond::kNotBusy, C::kPlay},
    {FaceId::PictPaus, "PictPaus", 4415, 5160, 825, 825, 55, 55, kPlayArea, "", false, true, false,
     H::kB, Cond::kNotBusy, C::kPause},
    {FaceId::PictStop, "PictStop", 5300, 5330, 660, 660, 44, 44, HitArea::Circle(320, 330, 200), "",
     true, true, false, H::kC, Cond::kNotBusy, C::kStop},
    {FaceId::PictSeBe, "PictSeBe", 6000, 5350, 465, 225, 31, 15, HitArea::Rect(65, 400, 50, 175),
     "Seek to Begin", true, true, false, H::kA, Cond::kNone, C::kSeekBegin},
    {FaceId::PictSeEn, "PictSeEn", 8400, 5350, 450, 225, 30, 15, HitArea::Rect(50, 400, 50, 175),
     "Seek to End", true, true, false, H::kA, Cond::kNone, C::kSeekEnd},
    {FaceId::PictHelp, "PictHelp", 1380, 180, 1125, 330, 75, 22, kTitleBarArea, "", true, true,
     false, H::kA, Cond::kNone, C::kHelp},
    {FaceId::PictAbou, "PictAbou", 2880, 180, 1125, 330, 75, 22, kTitleBarArea, "", true, true,
     false, H::kA, Cond::kNone, C::kAbout},
    {FaceId::PictMini, "PictMini", 8580, 270, 240, 255, 16, 17, kWindowButtonArea, "", true, true,
     false, H::kC, Cond::kNone, C::kMinimise},
    {FaceId::PictExit, "PictExit", 8840, 270, 240, 255, 16, 17, kWindowButtonArea, "", true, true,
     false, H::kC, Cond::kNone, C::kExit},
}};

bool ConditionHolds(const SkinFaceSpec& spec, const FaceCommands& commands) {
    switch (spec.condition) {
        case FaceCondition::kNone:
            return true;
        case FaceCondition::kFaceEnabled:
            return commands.FaceEnabled(spec.id);
        case FaceCondition::kCmdTestOutEnabled:
            return commands.CmdTestOutEnabled();
        case FaceCondition::kNotBusy:
            return !commands.AnyBusy();
    }
    return false;
}

}  // namespace

bool PointInRect(float x1, float x2, float y1, float y2, float X, float Y) {
    return x1 <= X && X <= x2 && y1 <= Y && Y <= y2;
}

bool PointInCircle(float cx, float cy, float r, float X, float Y) {
    const double dx = static_cast<double>(X) - cx;
    const double dy = static_cast<double>(Y) - cy;
    const float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    return d <= r;
}

bool HitArea::Contains(float X, float Y) const {
    return shape == Shape::kRect ? PointInRect(x1, x2, y1, y2, X, Y)
                                 : PointInCircle(cx, cy, r, X, Y);
}

const std::array<SkinFaceSpec, kFaceCount>& SkinFaces() {
    return kFaces;
}

const SkinFaceSpec& SpecOf(FaceId id) {
    return kFaces[static_cast<std::size_t>(id)];
}

SkinButton::SkinButton(const SkinFaceSpec& spec, MouseCapture& capture)
    : spec_(spec), capture_(capture) {}

void SkinButton::Show(SkinState state) {
    state_ = state;
    if (show_) show_(state);
}

void SkinButton::MouseDown(int, float X, float Y) {
    if (!spec_.hit.Contains(X, Y)) return;
    Show(SkinState::kPressed);
    pressed_ = true;
}

void SkinButton::MouseMove(int button, float X, float Y) {
    const bool inside = spec_.hit.Contains(X, Y);
    if (button == 0) {
        if (inside) {
            // Variants A and B draw the hover once per capture; C at every move.
            if (spec_.hover != HoverVariant::kC && capture_.Get() == handle_) return;
            capture_.Set(handle_);
            Show(SkinState::kHover);
        } else if (spec_.hover != HoverVariant::kB || capture_.Get() == handle_) {
            capture_.Release();
            Show(SkinState::kNormal);
        }
    } else if (button == kLeftButton || button == kRightButton) {
        Show(inside ? SkinState::kPressed : SkinState::kNormal);
    }
}

bool SkinButton::MouseUp(int, float X, float Y, int buttonsStillHeld) {
    bool click = false;
    if (pressed_) {
        Show(SkinState::kNormal);
        pressed_ = false;
        click = spec_.hit.Contains(X, Y);
    }
    if (buttonsStillHeld == 0) capture_.Release();
    return click;
}

void SkinButton::PointerLeft() {
    // No hit area reaches the face's top-left corner, so this point is outside every one.
    if (capture_.Get() == handle_ && handle_ != 0) MouseMove(0, -1, -1);
}

bool RunFaceCommand(FaceId face, FaceCommands& commands) {
    const SkinFaceSpec& spec = SpecOf(face);
    if (!ConditionHolds(spec, commands)) return false;
    switch (spec.command) {
        case C::kBrowseInput:
            commands.BrowseInput();
            break;
        case C::kLoadIn:
            commands.CmdGetNote_Click();
            break;
        case C::kProceed:
            commands.Proceed();
            break;
        case C::kShowSections:
            commands.ShowSectionsDialog();
            break;
        case C::kChordList:
            commands.ShowOrHideChordList();
            break;
        case C::kMakeOutput:
            commands.CmdCompose_Click();
            break;
        case C::kTestOut:
            commands.CmdTestOut_Click();
            break;
        case C::kTestInput:
            commands.TestInput();
            break;
        case C::kSaveOutput:
            commands.SaveOutput(false);
            break;
        case C::kSmallSave:
            // A name in the box saves straight to it; a blank one asks through the dialog.
            commands.SaveOutput(!TrimBlanks(commands.TxtOutNameText()).empty());
            break;
        case C::kMelodyImporter:
            commands.OpenMelodyImporter();
            break;
        case C::kChordOptions:
            commands.ShowChordOptDialog();
            break;
        case C::kMakeOptions:
            commands.ShowMakeOptDialog();
            break;
        case C::kPlay:
            commands.TryToPlay();
            break;
        case C::kPause:
            commands.TryToPause();
            break;
        case C::kStop:
            commands.TryToStop();
            break;
        case C::kSeekBegin:
            commands.GoSectionBegin();
            break;
        case C::kSeekEnd:
            commands.GoSectionEnd();
            break;
        case C::kHelp:
            commands.ShowHelp();
            break;
        case C::kAbout:
            commands.ShowAbout();
            break;
        case C::kMinimise:
            commands.Minimise();
            break;
        case C::kExit:
            // The flag first: the chord list editor must not bring the window back while the
            // settings are saved and the program shuts down.
            commands.SetExitRequested();
            commands.SaveUserSetting();
            commands.CmdExitClick();
            break;
    }
    return true;
}

}  // namespace corvane::shell
