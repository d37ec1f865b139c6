#include "workers/chordmaker/chordmaker_driver.h"

#include <string>
#include <vector>

#include "formats/chord_data.h"
#include "formats/exchange_files.h"
#include "platform/file.h"
#include "workers/chordmaker/chord_sheet.h"
#include "workers/chordmaker/error_text.h"
#include "workers/chordmaker/run_key.h"
#include "workers/chordmaker/song_input.h"
#include "workers/common/command_line.h"
#include "workers/common/output_failure.h"
#include "workers/common/worker_fatal.h"
#include "workers/common/worker_skeleton.h"

namespace chordmaker {

namespace {

constexpr int kCommandFields = 4;
constexpr int kPhraseUnit = 8;

constexpr const char* kErrorFile = formats::files::kError2;
constexpr const char* kTemps2File = formats::files::kTemps2Aco;
constexpr const char* kNotesFile = formats::files::kNotesAco;
constexpr const char* kNotesDatFile = formats::files::kNotesDat;
constexpr const char* kMsInfoFile = formats::files::kMsInfo;
constexpr const char* kKeysDataFile = formats::files::kKeysData;
constexpr const char* kChordDataFile = formats::files::kDataAco;
constexpr const char* kPathScoreFile = formats::files::kError1;

// Everything the run writes into Error2.msg goes through here, so a failure still leaves the
// messages written before it.
class ErrorFile {
  public:
    bool Create() { return file_.Open(kErrorFile, platform::FileMode::kWriteText); }
    void Write(const std::string& text) {
        if (!text.empty()) file_.Write(text);
    }
    void Close() { file_.Close(); }

  private:
    platform::File file_;
};

std::string CannotCreateChordData() {
    return Format("\nCannot create %s.", kChordDataFile);
}

void WritePathScores(const std::string& dump) {
    platform::File file;
    if (!file.Open(kPathScoreFile, platform::FileMode::kWriteText)) return;
    file.Write(dump);
    // Nobody relies on the dump, but a part of it is not left to pass for the whole.
    file.CloseOrDiscard();
}

int Job(ErrorFile& errors) {
    if (worker::SplitCommandLine() != kCommandFields + 1) return 1;
    worker::CallerWindow = worker::ParseHandle(worker::Field(2));
    if (worker::CallerWindow == 0) return 1;
    if (worker::ParseInt32(worker::Field(3)) != worker::kVersionStamp) return 1;

    const std::int32_t phraseToken = worker::ParseInt32(worker::Field(4));
    SeedRunKeyFromEnvironment();
    const std::uint8_t runKey = DrawRunKey();
    worker::SetSuccessDoneCode(runKey);
    const RunParameters params =
        RunParametersFor(worker::ParseInt32(worker::Field(1)), phraseToken);
    if (params.acMode <= 0) {
        errors.Write("AcMode <= 0");
        return 1;
    }

    std::vector<std::uint8_t> temps2, notesAco, notesDat, keysData;
    if (!platform::ReadWholeFile(kTemps2File, temps2)) {
        errors.Write(Format("%s not found.", kTemps2File));
        return 1;
    }
    if (!platform::ReadWholeFile(kNotesFile, notesAco)) {
        errors.Write(Format("\n%s not found.", kNotesFile));
        return 1;
    }
    SongInput song;
    std::string log;
    const bool songRead = ReadMeasureFiles(notesAco, temps2, song, log);
    errors.Write(log);
    if (!songRead) return 1;
    if (!platform::ReadWholeFile(kNotesDatFile, notesDat)) {
        errors.Write(Format("\n%s not found.", kNotesDatFile));
        return 1;
    }
    ReadNotesDat(notesDat, song);

    platform::File msInfo;
    if (msInfo.Open(kMsInfoFile, platform::FileMode::kWriteText)) {
        msInfo.Printf("%0d\n%0d\n", 0, 0);
        msInfo.CloseOrDiscard();
    }

    if (!platform::ReadWholeFile(kKeysDataFile, keysData)) {
        errors.Write(Format("Cannot open %s for reading.", kKeysDataFile));
        return 1;
    }
    std::optional<std::string> pathScores;
    std::string plain;
    log.clear();
    const bool made = MakeChordData(song, keysData, params, pathScores, plain, log);
    if (pathScores) WritePathScores(*pathScores);
    errors.Write(log);
    if (!made) return 1;

    const std::vector<std::uint8_t> stored = formats::EncodeChordData(
        std::span(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size()), runKey);
    if (!platform::ReplaceFileAtomically(kChordDataFile, stored)) {
        errors.Write(worker::WithFailureReason(CannotCreateChordData(), kChordDataFile));
        return 1;
    }
    return 0;
}

}  // namespace

RunParameters RunParametersFor(std::int32_t acMode, std::int32_t phraseToken) {
    return {.acMode = acMode, .phraseLen = std::int64_t{phraseToken} * kPhraseUnit};
}

bool MakeChordData(const SongInput& song, std::span<const std::uint8_t> keysData,
                   const RunParameters& params, std::optional<std::string>& pathScores,
                   std::string& plain, std::string& log) {
    ChordSheet sheet;
    const bool made = MakeChordSheet(song, keysData, params, sheet, log);
    pathScores = sheet.pathScoreDump;
    if (!made) return false;
    if (!FormatChordData(sheet, plain)) {
        log += CannotCreateChordData();
        return false;
    }
    return true;
}

int GetParam() {
    // A run killed before its rename left a temporary chord data file; this run owns the name.
    platform::RemoveStaleTemporaries(kChordDataFile);
    ErrorFile errors;
    if (!errors.Create()) return 1;
    int result = 1;
    try {
        result = Job(errors);
    } catch (const worker::WorkerFatal& failure) {
        errors.Write(failure.message());
        result = 1;
    } catch (const std::exception&) {
        result = 1;
    }
    errors.Close();
    return result;
}

const worker::WorkerConfig kWorkerConfig{
    .job = GetParam,
    .errorFile = kErrorFile,
    .successDoneCode = kFailureDoneCode,
    .failureDoneCode = kFailureDoneCode,
    .quitOnRightButton = true,
    .beforeCompletion = nullptr,
};

}  // namespace chordmaker
