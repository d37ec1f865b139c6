#include "tools/firstrun/first_run.h"

#include "frontend/core/command_lines.h"
#include "frontend/core/make_output.h"
#include "frontend/core/user_settings.h"
#include "frontend/styles/slot_tables.h"
#include "frontend/styles/track_records.h"
#include "platform/qt/settings_store.h"

namespace firstrun {

std::optional<MakeRequest> FirstRunMake(const std::array<SlotStyle, kSlots>& slots, int songTempo,
                                        int chordKey, std::uint32_t handle,
                                        const std::array<int, kParts>& partVolumes) {
    namespace styles = corvane::styles;
    platform::qt::MemorySettingsStore nothingStored;
    const corvane::UserSettings settings = corvane::ReadUserSettings(nothingStored);

    styles::SlotTables tables;
    for (int s = 0; s < kSlots; ++s) {
        // The start-up gives every slot the stored slot volume; the first activation then reads
        // each slot's style, and reading a style resets the slot's volume to the default 80
        // (ResetPartVols below), whatever was stored.
        tables.SectVol[s] = settings.sectVol;
        const styles::SlotStyleRead read = styles::ReadSlotStyle(slots[s].bytes, s);
        if (read.failed) return std::nullopt;
        for (int p = 0; p < kParts; ++p) tables.SetPartStyle(s, p, read.parts[p]);
        tables.ResetPartVols(s);
        tables.ResetPartModes(s);
        tables.ResetPartPrograms(s);
        for (int p = 0; p < kParts; ++p) {
            if (partVolumes[p] > 0)
                tables.PartVol(s, p) = static_cast<std::int16_t>(partVolumes[p]);
        }
    }

    corvane::ComposeInputs inputs;
    inputs.songTempo = songTempo;
    for (int i = 0; i < 2; ++i) {
        inputs.echoSlider[i] = corvane::EchoSliderForLevel(settings.echoLevel[i]);
        inputs.echoVoice[i] = settings.EchoVoice(i);
    }
    for (int s = 0; s < kSlots; ++s) inputs.styleFiles[s] = slots[s].file;
    inputs.myVmCode = chordKey;
    inputs.handle = handle;
    inputs.autoOctave = tables.AutoOctave;
    return MakeRequest{corvane::VParaText(tables), corvane::ComposeArgs(inputs)};
}

}  // namespace firstrun
