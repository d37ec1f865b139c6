// Feeds arbitrary bytes through the song reader and the song loader's measure writer. The first
// byte picks the placement mode, so every writer and picker path is reached.
#include <cstdint>
#include <memory>

#include "fuzz/scratch_folder.h"
#include "platform/file.h"
#include "workers/common/smf_reader.h"
#include "workers/songloader/measure_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    auto state = std::make_unique<worker::SongState>();
    state->quantMode = static_cast<worker::QuantMode>(data[0] % 3);
    platform::File temps;
    platform::File temps2;
    platform::File notes;
    // Real files, emptied for every input: the writer's text goes through the file layer.
    if (!temps.Open(fuzzsupport::ScratchPath("Temps.aco"), platform::FileMode::kWriteText) ||
        !temps2.Open(fuzzsupport::ScratchPath("Temps2.aco"), platform::FileMode::kWriteText) ||
        !notes.Open(fuzzsupport::ScratchPath("Notes.dat"), platform::FileMode::kWriteText)) {
        __builtin_trap();
    }
    songloader::MeasureWriter writer(temps, temps2, notes);
    (void)worker::ReadSong(std::span(data + 1, size - 1), *state, writer);
    return 0;
}
