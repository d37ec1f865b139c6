// The picture buttons of the main window without any window: their faces, images, hit areas,
// hover rules, conditions and commands as data, one state machine per face over an emulated
// mouse capture, and the dispatch of a click to its command. The widget of a face only turns
// Qt's mouse events into these calls (twips, button bits) and shows the image it is told to.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace corvane::shell {

// Positions on the main window are kept in twips, 15 to a pixel on a screen at the normal
// scale; hit tests stay in twips so their edges are where the window design put them.
constexpr float kTwipsPerPixel = 15.0f;

// Both bounds inside, compared in single precision.
bool PointInRect(float x1, float x2, float y1, float y2, float X, float Y);
// The distance is taken in double precision and compared after narrowing to single, so a
// point on the rim is inside.
bool PointInCircle(float cx, float cy, float r, float X, float Y);

struct HitArea {
    enum class Shape { kRect, kCircle };
    Shape shape = Shape::kRect;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;  // rectangle
    float cx = 0, cy = 0, r = 0;           // circle

    static constexpr HitArea Rect(float x1, float x2, float y1, float y2) {
        return {Shape::kRect, x1, x2, y1, y2, 0, 0, 0};
    }
    static constexpr HitArea Circle(float cx, float cy, float r) {
        return {Shape::kCircle, 0, 0, 0, 0, cx, cy, r};
    }
    bool Contains(float X, float Y) const;
};

// How a face reacts to moves with no button held. A: hover shown once per capture and the
// capture given back at the first move outside. B: as A, but a move outside touches only a
// face that holds the capture. C: hover drawn again at every move inside, no capture test.
enum class HoverVariant { kA, kB, kC };

// What the release reads before the command runs.
enum class FaceCondition { kNone, kFaceEnabled, kCmdTestOutEnabled, kNotBusy };

enum class FaceCommand {
    kBrowseInput,
    kLoadIn,
    kProceed,
    kShowSections,
    kChordList,
    kMakeOutput,
    kTestOut,
    kTestInput,
    kSaveOutput,
    kSmallSave,
    kMelodyImporter,
    kChordOptions,
    kMakeOptions,
    kPlay,
    kPause,
    kStop,
    kSeekBegin,
    kSeekEnd,
    kHelp,
    kAbout,
    kMinimise,
    kExit,
};

enum class FaceId {
    PictBrow,
    PictLoad,
    PictProc,
    PictStyl,
    PictShChord,
    PictMake,
    PictTest,
    PictEndT,
    PictTeIn,
    PictStIn,
    PictSOut,
    PictSave,
    PictMiVi,
    PictOpt1,
    PictOpt2,
    PictPlay,
    PictPaus,
    PictStop,
    PictSeBe,
    PictSeEn,
    PictHelp,
    PictAbou,
    PictMini,
    PictExit,
};
constexpr int kFaceCount = 24;

struct SkinFaceSpec {
    FaceId id;
    const char* name;
    float left, top;      // twips on the main window
    float width, height;  // twips
    int bitmapWidth, bitmapHeight;
    HitArea hit;  // twips from the face's top-left corner
    const char* tooltip;
    bool visibleAtStart;
    bool enabledAtStart;
    bool sharedSmallRound;  // draws from the one image set of the three small round buttons
    HoverVariant hover;
    FaceCondition condition;
    FaceCommand command;
};

// Every face in the order of FaceId.
const std::array<SkinFaceSpec, kFaceCount>& SkinFaces();
const SkinFaceSpec& SpecOf(FaceId id);

// The image a face shows; it is the state of the button.
enum class SkinState { kNormal, kHover, kPressed };

// Mouse buttons as event bits.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// One holder at a time, named by a face's handle; 0 is nobody.
class MouseCapture {
  public:
    int Get() const { return holder_; }
    void Set(int handle) { holder_ = handle; }
    void Release() { holder_ = 0; }

  private:
    int holder_ = 0;
};

// One face's behaviour. `show` is called whenever the face draws an image, also when it draws
// the one it already shows (variant C and drags do), so a test can count the drawings.
class SkinButton {
  public:
    SkinButton(const SkinFaceSpec& spec, MouseCapture& capture);

    const SkinFaceSpec& Spec() const { return spec_; }
    int Handle() const { return handle_; }
    void SetHandle(int handle) { handle_ = handle; }
    void OnShow(std::function<void(SkinState)> show) { show_ = std::move(show); }

    SkinState State() const { return state_; }
    bool Pressed() const { return pressed_; }

    // The painter's first picture.
    void ShowNormal() { Show(SkinState::kNormal); }
    void MouseDown(int button, float X, float Y);
    void MouseMove(int button, float X, float Y);
    // True when the release is a click: the press began in the hit area and the release is
    // inside it. The caller then reads the face's condition and runs its command. The
    // release of the last button held ends any capture, as the window system's would.
    bool MouseUp(int button, float X, float Y, int buttonsStillHeld = 0);
    // The pointer left the face: one that holds the capture would still get the moves, so it
    // gets a move outside itself now.
    void PointerLeft();

  private:
    void Show(SkinState state);

    const SkinFaceSpec& spec_;
    MouseCapture& capture_;
    std::function<void(SkinState)> show_;
    int handle_ = 0;
    SkinState state_ = SkinState::kNormal;
    bool pressed_ = false;
};

// The procedures the faces call and what their conditions read. The main window implements
// it over its components; tests record the calls.
class FaceCommands {
  public:
    virtual ~FaceCommands() = default;

    virtual bool FaceEnabled(FaceId face) const = 0;
    virtual bool CmdTestOutEnabled() const = 0;
    virtual bool AnyBusy() const = 0;
    virtual std::string TxtOutNameText() const = 0;

    virtual void BrowseInput() = 0;
    virtual void CmdGetNote_Click() = 0;
    virtual void Proceed() = 0;
    virtual void ShowSectionsDialog() = 0;
    virtual void ShowOrHideChordList() = 0;
    virtual void CmdCompose_Click() = 0;
    virtual void CmdTestOut_Click() = 0;
    virtual void TestInput() = 0;
    virtual void SaveOutput(bool direct) = 0;
    virtual void OpenMelodyImporter() = 0;
    virtual void ShowChordOptDialog() = 0;
    virtual void ShowMakeOptDialog() = 0;
    virtual void TryToPlay() = 0;
    virtual void TryToPause() = 0;
    virtual void TryToStop() = 0;
    virtual void GoSectionBegin() = 0;
    virtual void GoSectionEnd() = 0;
    virtual void ShowHelp() = 0;
    virtual void ShowAbout() = 0;
    virtual void Minimise() = 0;
    virtual void SetExitRequested() = 0;
    virtual void SaveUserSetting() = 0;
    virtual void CmdExitClick() = 0;
};

// Reads the face's condition now and, when it holds, runs its command. Returns whether the
// command ran.
bool RunFaceCommand(FaceId face, FaceCommands& commands);

}  // namespace corvane::shell
