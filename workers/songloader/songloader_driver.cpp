#include "workers/songloader/songloader_driver.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "formats/exchange_files.h"
#include "platform/file.h"
#include "workers/common/command_line.h"
#include "workers/common/output_failure.h"
#include "workers/common/smf_reader.h"
#include "workers/songloader/measure_writer.h"

namespace songloader {
namespace {

using platform::File;
using platform::FileMode;

constexpr int kExpectedSplit = 5;  // four fields

// The files of one run. Static, like the rest of a worker's tables: whatever is still open when
// the job returns, the skeleton closes through the file registry before it posts the completion.
struct Files {
    File error;
    File temps;
    File temps2;
    File notesDat;
    File notesAco;
    File btData;
};

int Fail(File& error, const std::string& message) {
    error.Write(message);
    platform::CloseAllFiles();
    return 1;
}

// A failure of the measure file `name`, with the reason the disk gave.
int FailOutput(File& error, const std::string& message, const char* name) {
    return Fail(error, worker::WithFailureReason(message, name));
}

void WriteBeatPattern(File& out, const worker::SongState& state) {
    int largest = 0;
    for (int slot = 3; slot < worker::kBeatSlots; ++slot) {
        largest = std::max(largest, state.btHistogram[static_cast<std::size_t>(slot)]);
    }
    int threshold = largest / 5;
    if (threshold == 0) threshold = 1;
    for (int count : state.btHistogram) out.Write(count >= threshold ? "1\n" : "0\n");
}

}  // namespace

int LoadSong() {
    static Files files;
    File& error = files.error;
    if (!error.Open(formats::files::kError1, FileMode::kWriteText)) return 1;

    if (worker::SplitCommandLine() != kExpectedSplit) {
        platform::CloseAllFiles();
        return 1;
    }
    worker::CallerWindow = worker::ParseHandle(worker::Field(3));
    if (worker::CallerWindow == 0) {
        platform::CloseAllFiles();
        return 1;
    }
    if (worker::ParseInt32(worker::Field(4)) != worker::kVersionStamp) {
        platform::CloseAllFiles();
        return 1;
    }

    auto state = std::make_unique<worker::SongState>();
    const std::string mode = worker::Field(1);
    if (mode == "/1") {
        state->quantMode = worker::QuantMode::kTick;
    } else if (mode == "/2") {
        state->quantMode = worker::QuantMode::kQuantised;
    } else if (mode == "/0") {
        state->quantMode = worker::QuantMode::kQuantisedOneNote;
    } else {
        platform::CloseAllFiles();
        return 1;
    }

    const std::pair<File*, const char*> measureFiles[] = {
        {&files.temps, formats::files::kTempsAco},
        {&files.temps2, formats::files::kTemps2Aco},
        {&files.notesDat, formats::files::kNotesDat}};
    for (const auto& [file, name] : measureFiles) {
        if (!file->Open(name, FileMode::kWriteText)) {
            return FailOutput(error, std::string("Cannot create ") + name + ".", name);
        }
    }

    const std::string songPath = worker::Field(2);
    std::vector<std::uint8_t> song;
    if (!platform::ReadWholeFile(songPath, song))
        return Fail(error, " " + songPath + " not found.");

    MeasureWriter writer(files.temps, files.temps2, files.notesDat);
    if (auto status = worker::ReadSong(song, *state, writer); !status.ok) {
        return Fail(error, status.message);
    }

    files.temps.Close();
    files.temps2.Close();
    std::vector<std::uint8_t> mainNotes;
    if (!platform::ReadWholeFile(formats::files::kTempsAco, mainNotes))
        return Fail(error, " Temps.aco not found.");
    if (!files.notesAco.Open(formats::files::kNotesAco, FileMode::kWriteBinary)) {
        return FailOutput(error, "Cannot create file Notes.aco.", formats::files::kNotesAco);
    }
    const int keySign = state->songKeySign;
    files.notesAco.Printf("%d,%c,%s,%d,%d,", std::abs(keySign), keySign >= 0 ? '+' : '-',
                          writer.lastNoteName().c_str(), writer.measuresWritten(),
                          state->songTempoBpm);
    files.notesAco.Printf("%s\r\n", state->meter.meterText.c_str());
    files.notesAco.WriteBytes(mainNotes);

    if (writer.mainNoteCount() == 0) {
        return Fail(error, "!No note found. May be your melody is not on the Track 1.");
    }

    if (files.btData.Open(formats::files::kBtData, FileMode::kWriteText))
        WriteBeatPattern(files.btData, *state);

    // A measure file that could not be written completely (a full disk) must not pass for a
    // good one; the loader then fails as if the file could not be created, and removes it.
    const std::pair<File*, const char*> written[] = {{&files.temps, formats::files::kTempsAco},
                                                     {&files.temps2, formats::files::kTemps2Aco},
                                                     {&files.notesDat, formats::files::kNotesDat},
                                                     {&files.notesAco, formats::files::kNotesAco},
                                                     {&files.btData, formats::files::kBtData}};
    for (const auto& [file, name] : written) {
        if (!file->CloseOrDiscard()) {
            return FailOutput(error, std::string("Cannot create ") + name + ".", name);
        }
    }
    platform::CloseAllFiles();
    return 0;
}

const worker::WorkerConfig kWorkerConfig{
    .job = LoadSong,
    .errorFile = formats::files::kError1,
    .successDoneCode = kDoneCode,
    .failureDoneCode = kDoneCode,
    .quitOnRightButton = true,
    .beforeCompletion = nullptr,
};

}  // namespace songloader
