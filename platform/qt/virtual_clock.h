// Time for the front end's timers and the MIDI output log. Normally a steady clock in
// milliseconds; a test that installs a VirtualClock owns time instead: nothing moves until it
// calls Advance, and every timer registered with the clock fires at exactly its due times.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace platform::qt {

// Milliseconds: the installed virtual clock's time, else a steady clock's.
std::int64_t NowMs();

// One timer on the virtual clock: fires at `due` (none while `due` is negative).
struct VirtualTimerSlot {
    std::int64_t due = -1;
    std::function<void()> fire;
};

class VirtualClock {
  public:
    // Installs itself; the destructor restores the real clock. One at a time.
    VirtualClock();
    ~VirtualClock();
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    std::int64_t Now() const { return now_; }
    // Moves time on by `ms`, firing each due timer at its own time, earliest first (ties in the
    // order the timers were registered). A timer that re-arms itself within the span fires again.
    void Advance(std::int64_t ms);

    // The installed clock, or nullptr.
    static VirtualClock* Installed();

    void Register(VirtualTimerSlot* slot);
    void Unregister(VirtualTimerSlot* slot);

  private:
    std::int64_t now_ = 0;
    std::vector<VirtualTimerSlot*> slots_;
};

}  // namespace platform::qt
