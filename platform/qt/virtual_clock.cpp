#include "platform/qt/virtual_clock.h"

#include <algorithm>
#include <cassert>
#include <chrono>

namespace platform::qt {
namespace {
VirtualClock* g_installed = nullptr;
}

std::int64_t NowMs() {
    if (g_installed) return g_installed->Now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

VirtualClock::VirtualClock() {
    assert(g_installed == nullptr);
    g_installed = this;
}

VirtualClock::~VirtualClock() {
    g_installed = nullptr;
}

VirtualClock* VirtualClock::Installed() {
    return g_installed;
}

void VirtualClock::Register(VirtualTimerSlot* slot) {
    slots_.push_back(slot);
}

void VirtualClock::Unregister(VirtualTimerSlot* slot) {
    slots_.erase(std::remove(slots_.begin(), slots_.end(), slot), slots_.end());
}

void VirtualClock::Advance(std::int64_t ms) {
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    for (;;) {
        VirtualTimerSlot* next = nullptr;
        for (VirtualTimerSlot* slot : slots_) {
            if (slot->due >= 0 && slot->due <= target && (!next || slot->due < next->due))
                next = slot;
        }
        if (!next) break;
        now_ = next->due;
        next->fire();
    }
    now_ = target;
}

}  // namespace platform::qt
