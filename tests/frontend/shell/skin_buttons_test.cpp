// The picture buttons without a window: hit tests on their edges, the state machine of one
// face of each hover variant over the emulated capture, and each face's command under its
// condition.
#include "frontend/shell/skin_buttons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::shell {
namespace {

TEST(PointInRect, BothEdgesAreInsideAndOneTwipBeyondIsNot) {
    struct Case {
        float X, Y;
        bool inside;
    } const cases[] = {
        {75, 75, true},   {890, 330, true},  {75, 330, true},  {890, 75, true},
        {74, 200, false}, {891, 200, false}, {500, 74, false}, {500, 331, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        EXPECT_EQ(PointInRect(75, 890, 75, 330, c.X, c.Y), c.inside);
    }
}

TEST(PointInCircle, TheRimIsInsideAndStopIsCentredLeftOfItsFaceCentre) {
    const HitArea stop = SpecOf(FaceId::PictStop).hit;
    EXPECT_TRUE(stop.Contains(520, 330));   // on the rim, right of the centre (320, 330)
    EXPECT_TRUE(stop.Contains(120, 330));   // on the rim, left
    EXPECT_FALSE(stop.Contains(521, 330));  // one twip beyond
    EXPECT_TRUE(stop.Contains(320, 530));
    // Below the face's centre (330, 330) the distance to the real centre is 200.25.
    EXPECT_FALSE(stop.Contains(330, 530));
    // A distance a hair above r in double precision narrows to exactly r.
    EXPECT_TRUE(PointInCircle(0, 0, 200, 200, 0.01f));
}

// One face over a capture, remembering every image it was told to draw.
struct Face {
    explicit Face(FaceId id, int handle = 7) : button(SpecOf(id), capture) {
        button.SetHandle(handle);
        button.OnShow([this](SkinState state) { shows.push_back(state); });
    }
    MouseCapture capture;
    SkinButton button;
    std::vector<SkinState> shows;
};

using S = SkinState;
constexpr float kIn = 250;  // inside every face used below (twips)
constexpr float kOut = 1;   // in the face's margin, outside its area

TEST(SkinButton, PressDragOutAndBackReleaseInsideIsAClick) {
    for (FaceId id : {FaceId::PictLoad, FaceId::PictPlay, FaceId::PictStop}) {
        SCOPED_TRACE(SpecOf(id).name);
        Face face(id);
        face.button.MouseDown(kLeftButton, kIn, kIn);
        EXPECT_TRUE(face.button.Pressed());
        face.button.MouseMove(kLeftButton, kOut, kOut);
        EXPECT_EQ(face.button.State(), S::kNormal);
        EXPECT_TRUE(face.button.Pressed());  // the flag outlives the drag out
        face.button.MouseMove(kLeftButton, kIn, kIn);
        EXPECT_TRUE(face.button.MouseUp(kLeftButton, kIn, kIn));
        EXPECT_EQ(face.shows, (std::vector<S>{S::kPressed, S::kNormal, S::kPressed, S::kNormal}));
        EXPECT_FALSE(face.button.Pressed());
    }
}

TEST(SkinButton, ReleaseOutsideIsNoClickAndClearsTheFlag) {
    Face face(FaceId::PictLoad);
    face.button.MouseDown(kRightButton, kIn, kIn);
    face.button.MouseMove(kRightButton, kOut, kOut);
    EXPECT_FALSE(face.button.MouseUp(kRightButton, kOut, kOut));
    EXPECT_FALSE(face.button.Pressed());
    EXPECT_EQ(face.button.State(), S::kNormal);
    // A release without a press does nothing at all.
    face.shows.clear();
    EXPECT_FALSE(face.button.MouseUp(kLeftButton, kIn, kIn));
    EXPECT_TRUE(face.shows.empty());
}

TEST(SkinButton, HoverByVariant) {
    // A: hover drawn once per capture, the capture given back at the first move outside.
    Face a(FaceId::PictLoad);
    a.button.MouseMove(0, kIn, kIn);
    a.button.MouseMove(0, kIn + 10, kIn);
    EXPECT_EQ(a.shows, (std::vector<S>{S::kHover}));
    EXPECT_EQ(a.capture.Get(), 7);
    a.button.MouseMove(0, kOut, kOut);
    EXPECT_EQ(a.shows, (std::vector<S>{S::kHover, S::kNormal}));
    EXPECT_EQ(a.capture.Get(), 0);

    // B: a move outside touches only a face that holds the capture.
    Face b(FaceId::PictPlay);
    b.button.MouseMove(0, kOut, kOut);
    EXPECT_TRUE(b.shows.empty());
    b.button.MouseMove(0, kIn, kIn);
    b.capture.Set(99);  // another face took it meanwhile
    b.button.MouseMove(0, kOut, kOut);
    EXPECT_EQ(b.shows, (std::vector<S>{S::kHover}));
    EXPECT_EQ(b.capture.Get(), 99);

    // C: hover drawn at every move inside, whoever holds the capture.
    Face c(FaceId::PictStop);
    c.button.MouseMove(0, kIn, kIn);
    c.button.MouseMove(0, kIn, kIn + 5);
    c.button.MouseMove(0, kOut, kOut);
    EXPECT_EQ(c.shows, (std::vector<S>{S::kHover, S::kHover, S::kNormal}));
    EXPECT_EQ(c.capture.Get(), 0);
}

TEST(SkinButton, TheCaptureEndsWithTheLastButtonAndLeavingGivesItBack) {
    Face face(FaceId::PictBrow);
    face.button.MouseMove(0, kIn, kIn);
    face.button.MouseDown(kLeftButton, kIn, kIn);
    EXPECT_TRUE(face.button.MouseUp(kLeftButton, kIn, kIn));
    EXPECT_EQ(face.capture.Get(), 0);
    EXPECT_EQ(face.button.State(), S::kNormal);  // Normal after a click, pointer still over it
    face.button.MouseMove(0, kIn, kIn);          // the next move shows the hover again
    EXPECT_EQ(face.button.State(), S::kHover);

    face.button.PointerLeft();  // the holder sees a move outside itself
    EXPECT_EQ(face.button.State(), S::kNormal);
    EXPECT_EQ(face.capture.Get(), 0);
    face.shows.clear();
    face.button.PointerLeft();  // not the holder: nothing
    EXPECT_TRUE(face.shows.empty());
}

TEST(SkinButton, TwoButtonsHeldTogetherClickOnce) {
    Face face(FaceId::PictStyl);
    face.button.MouseMove(0, kIn, kIn);
    face.button.MouseDown(kLeftButton, kIn, kIn);
    face.button.MouseDown(kRightButton, kIn, kIn);
    EXPECT_TRUE(face.button.MouseUp(kLeftButton, kIn, kIn, kRightButton));
    EXPECT_EQ(face.capture.Get(), 7);  // a button is still held
    EXPECT_FALSE(face.button.MouseUp(kRightButton, kIn, kIn, 0));
    EXPECT_EQ(face.capture.Get(), 0);
}

TEST(SkinButton, MiddleButtonClicksButItsDragShowsNothing) {
    Face face(FaceId::PictLoad);
    face.button.MouseDown(kMiddleButton, kIn, kIn);
    face.button.MouseMove(kMiddleButton, kOut, kOut);
    face.button.MouseMove(kLeftButton | kRightButton, kOut, kOut);
    EXPECT_EQ(face.shows, (std::vector<S>{S::kPressed}));
    EXPECT_TRUE(face.button.MouseUp(kMiddleButton, kIn, kIn));
}

TEST(SkinButton, APressInTheMarginDraggedInShowsPressedButDoesNotClick) {
    Face face(FaceId::PictLoad);
    face.button.MouseDown(kLeftButton, kOut, kOut);
    EXPECT_FALSE(face.button.Pressed());
    face.button.MouseMove(kLeftButton, kIn, kIn);
    EXPECT_EQ(face.button.State(), S::kPressed);
    EXPECT_FALSE(face.button.MouseUp(kLeftButton, kIn, kIn));
    EXPECT_EQ(face.button.State(), S::kPressed);  // until the next move with no button
    face.button.MouseMove(0, kIn, kIn);
    EXPECT_EQ(face.button.State(), S::kHover);
}

// Every call and every condition the commands read, recorded in order.
class RecordingCommands : public FaceCommands {
  public:
    bool enabled = true;
    bool testOutEnabled = true;
    bool busy = false;
    std::string outName;
    std::vector<std::string> calls;

    bool FaceEnabled(FaceId) const override { return enabled; }
    bool CmdTestOutEnabled() const override { return testOutEnabled; }
    bool AnyBusy() const override { return busy; }
    std::string TxtOutNameText() const override { return outName; }

    void BrowseInput() override { calls.push_back("BrowseInput"); }
    void CmdGetNote_Click() override { calls.push_back("CmdGetNote_Click"); }
    void Proceed() override { calls.push_back("Proceed"); }
    void ShowSectionsDialog() override { calls.push_back("ShowSectionsDialog"); }
    void ShowOrHideChordList() override { calls.push_back("ShowOrHideChordList"); }
    void CmdCompose_Click() override { calls.push_back("CmdCompose_Click"); }
    void CmdTestOut_Click() override { calls.push_back("CmdTestOut_Click"); }
    void TestInput() override { calls.push_back("TestInput"); }
    void SaveOutput(bool direct) override {
        calls.push_back(direct ? "SaveOutput(True)" : "SaveOutput(False)");
    }
    void OpenMelodyImporter() override { calls.push_back("OpenMelodyImporter"); }
    void ShowChordOptDialog() override { calls.push_back("ShowChordOptDialog"); }
    void ShowMakeOptDialog() override { calls.push_back("ShowMakeOptDialog"); }
    void TryToPlay() override { calls.push_back("TryToPlay"); }
    void TryToPause() override { calls.push_back("TryToPause"); }
    void TryToStop() override { calls.push_back("TryToStop"); }
    void GoSectionBegin() override { calls.push_back("GoSectionBegin"); }
    void GoSectionEnd() override { calls.push_back("GoSectionEnd"); }
    void ShowHelp() override { calls.push_back("ShowHelp"); }
    void ShowAbout() override { calls.push_back("ShowAbout"); }
    void Minimise() override { calls.push_back("Minimise"); }
    void SetExitRequested() override { calls.push_back("ExitRequested"); }
    void SaveUserSetting() override { calls.push_back("SaveUserSetting"); }
    void CmdExitClick() override { calls.push_back("CmdExitClick"); }
};

TEST(RunFaceCommand, EachFaceRunsItsCommandOnlyUnderItsCondition) {
    enum Blocker { kNothing, kDisabled, kTestOutDisabled, kBusy };
    struct Case {
        FaceId face;
        const char* command;
        Blocker blockedBy;
    } const cases[] = {
        {FaceId::PictBrow, "BrowseInput", kNothing},
        {FaceId::PictLoad, "CmdGetNote_Click", kDisabled},
        {FaceId::PictProc, "Proceed", kDisabled},
        {FaceId::PictStyl, "ShowSectionsDialog", kNothing},
        {FaceId::PictShChord, "ShowOrHideChordList", kNothing},
        {FaceId::PictMake, "CmdCompose_Click", kDisabled},
        {FaceId::PictTest, "CmdTestOut_Click", kTestOutDisabled},
        {FaceId::PictEndT, "CmdTestOut_Click", kTestOutDisabled},
        {FaceId::PictTeIn, "TestInput", kDisabled},
        {FaceId::PictStIn, "TestInput", kDisabled},
        {FaceId::PictSOut, "SaveOutput(False)", kNothing},
        {FaceId::PictMiVi, "OpenMelodyImporter", kDisabled},
        {FaceId::PictOpt1, "ShowChordOptDialog", kNothing},
        {FaceId::PictOpt2, "ShowMakeOptDialog", kNothing},
        {FaceId::PictPlay, "TryToPlay", kBusy},
        {FaceId::PictPaus, "TryToPause", kBusy},
        {FaceId::PictStop, "TryToStop", kBusy},
        {FaceId::PictSeBe, "GoSectionBegin", kNothing},
        {FaceId::PictSeEn, "GoSectionEnd", kNothing},
        {FaceId::PictHelp, "ShowHelp", kNothing},
        {FaceId::PictAbou, "ShowAbout", kNothing},
        {FaceId::PictMini, "Minimise", kNothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SpecOf(c.face).name);
        RecordingCommands free;
        EXPECT_TRUE(RunFaceCommand(c.face, free));
        EXPECT_EQ(free.calls, std::vector<std::string>{c.command});

        // Every blocker at once: only the face's own condition may stop it.
        RecordingCommands blocked;
        blocked.enabled = false;
        blocked.testOutEnabled = false;
        blocked.busy = true;
        EXPECT_EQ(RunFaceCommand(c.face, blocked), c.blockedBy == kNothing);
        EXPECT_EQ(blocked.calls.size(), c.blockedBy == kNothing ? 1u : 0u);

        // And each blocker alone stops only the face it belongs to.
        for (Blocker blocker : {kDisabled, kTestOutDisabled, kBusy}) {
            RecordingCommands one;
            one.enabled = blocker != kDisabled;
            one.testOutEnabled = blocker != kTestOutDisabled;
            one.busy = blocker == kBusy;
            EXPECT_EQ(RunFaceCommand(c.face, one), c.blockedBy != blocker);
        }
    }
}

TEST(RunFaceCommand, SmallSaveSavesStraightToANameAndAsksWithoutOne) {
    struct Case {
        const char* name;
        const char* call;
    } const cases[] = {
        {"", "SaveOutput(False)"},
        {"   ", "SaveOutput(False)"},
        {"song.mid", "SaveOutput(True)"},
        {"  song  ", "SaveOutput(True)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.name + "'");
        RecordingCommands commands;
        commands.enabled = false;  // the small Save has no condition of its own
        commands.outName = c.name;
        RunFaceCommand(FaceId::PictSave, commands);
        EXPECT_EQ(commands.calls, std::vector<std::string>{c.call});
    }
}

TEST(RunFaceCommand, ExitMarksTheProgramThenSavesTheSettingsThenShutsDown) {
    RecordingCommands commands;
    commands.busy = true;
    RunFaceCommand(FaceId::PictExit, commands);
    EXPECT_EQ(commands.calls,
              (std::vector<std::string>{"ExitRequested", "SaveUserSetting", "CmdExitClick"}));
}

}  // namespace
}  // namespace corvane::shell
