// The skin sliders without a window: a thumb's place and its scroll bar's value turned into each
// other, the drag that keeps the thumb's middle under the pointer inside its track, and the
// pressed flags. The thumbs' widgets and the bars' change handling build on these.
#pragma once

#include <cstdint>

#include "frontend/shell/skin_geometry.h"

namespace corvane::shell {

// The value a thumb at `left` stands for: the place along the track scaled to the bar's range,
// rounded with halves to the even neighbour (not truncated), then held inside [min, max]. A
// track of no width counts as one twip wide.
int ThumbValue(const ThumbTrack& track, float left, int min, int max);

// Where one drag step puts a thumb. `left` is the thumb's Left now, `dragLeft` the Left the
// drag remembers and `X` the pointer measured from the thumb's own left edge.
struct DragStep {
    float left = 0;
    float dragLeft = 0;
};
DragStep DragThumb(const ThumbTrack& track, float left, float dragLeft, float X);

// Per kind of slider: pressed from a press on one of its thumbs to the release, and the thumb's
// Left during the drag. One of each suffices because only one thumb holds the mouse at a time.
struct SkinSliderState {
    bool PosThumbPressed = false;
    bool VolThumbPressed = false;
    bool EchoThumbPressed = false;
    float PosDragLeft = 0;
    float VolDragLeft = 0;
    float EchoDragLeft = 0;
};

// What the position thumb's release needs of the output player: when it plays, playback jumps
// to the chosen bar. The front end's player is connected through an adapter.
class OutputPlayerHook {
  public:
    virtual ~OutputPlayerHook() = default;
    virtual int Mode() = 0;  // kPlayerPlaying while it plays
    virtual void SetFrom(std::int64_t sixteenth) = 0;
    virtual void Play() = 0;
};
constexpr int kPlayerPlaying = 526;

}  // namespace corvane::shell
