#include "platform/qt/sequencer.h"

#include "platform/qt/fluid_sequencer.h"

namespace platform::qt {
namespace {

SequencerBackendMaker& InstalledMaker() {
    static SequencerBackendMaker maker;
    return maker;
}

}  // namespace

void SetSequencerBackendMaker(SequencerBackendMaker maker) {
    InstalledMaker() = std::move(maker);
}

std::unique_ptr<SequencerBackend> MakeSequencerBackend(const std::string& control) {
    if (const SequencerBackendMaker& maker = InstalledMaker()) return maker(control);
    return std::make_unique<FluidSynthSequencer>(true);
}

}  // namespace platform::qt
