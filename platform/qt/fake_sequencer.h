// The players' stand-in for tests: while installed, every player opened plays on the test's
// clock (NowMs, so a VirtualClock makes its position move only when the test advances time) at
// one sixteenth every 125 milliseconds (a quarter note every half second), and logs each
// command it receives with the player's name: "MMControl1 Open /folder/Play.sti",
// "MMControl1 Play from 48", "MMControl1 Stop", "MMControl1 Close". A test may make a playing
// player fail.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/sequencer.h"

namespace platform::qt {

class FakeSequencer {
  public:
    // Installs itself; the destructor restores FluidSynth. Players keep working (and logging
    // nowhere) if they outlive it.
    FakeSequencer();
    ~FakeSequencer();
    FakeSequencer(const FakeSequencer&) = delete;
    FakeSequencer& operator=(const FakeSequencer&) = delete;

    std::vector<std::string> Lines() const;
    void Clear();
    // Runs with each line as it is logged, so a test can see what else holds at that moment.
    void OnCommand(std::function<void(const std::string&)> callback);
    // The player `control`, while it plays, stops with this error at its next status read.
    void FailWhilePlaying(const std::string& control, int error, const std::string& message);
    // While set, every Play goes on as if there were no audio device (Audible false).
    void PlaySilently(bool silent);

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace platform::qt
