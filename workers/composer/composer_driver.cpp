#include "workers/composer/composer_driver.h"

#include <array>
#include <span>
#include <string>
#include <vector>

#include "formats/exchange_files.h"
#include "platform/file.h"
#include "workers/common/output_failure.h"
#include "workers/composer/compose_args.h"
#include "workers/composer/composer.h"
#include "workers/composer/song_inputs.h"
#include "workers/composer/track_coding.h"

namespace composer {

namespace {

constexpr const char* kErrorFile = formats::files::kError3;
constexpr const char* kScratchFile = "sty.err";
constexpr const char* kOptionsFile = formats::files::kVPara;
constexpr const char* kSongFile = formats::files::kInPut;
constexpr const char* kBeatFile = formats::files::kBtData;
constexpr const char* kChordFile = formats::files::kDataAco;
constexpr const char* kNotesFile = formats::files::kNotesDat;
constexpr const char* kStatsFile = formats::files::kTemps2Aco;
constexpr const char* kScaleFile = formats::files::kError2;
constexpr const char* kOutputFile = formats::files::kComposeOut;
constexpr const char* kTrackScratch = formats::files::kTempDat;
constexpr const char* kSectionFile = formats::files::kCPara;
constexpr int kRunCodeBase = 59;
constexpr int kRunCodeSpan = 42;

// The message of an output that could not be created or written, with the disk's reason.
void LogOutputFailure(MessageLog& log, const std::string& message, const char* name) {
    log.Append(worker::WithFailureReason(message, name));
}

bool WriteFile(const std::string& name, std::span<const std::uint8_t> bytes) {
    platform::File f;
    if (!f.Open(name, platform::FileMode::kWriteBinary)) return false;
    f.WriteBytes(bytes);
    return f.CloseOrDiscard();
}

bool WriteFile(const std::string& name, std::string_view text) {
    return WriteFile(name, std::span<const std::uint8_t>(
                               reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Builds the output file as the run goes: the header, the song's first two tracks, then each
// composed track, which goes plain into "Temp.dat" and coded onto the end of the output. The
// file stays open, so each track costs one write of its own bytes and one of the header's
// track count, which says how many tracks there will be once the name track follows. A track
// is on disk whole before the count is raised, so a run that stops midway leaves whole tracks.
class OutputFileSink : public TrackSink {
  public:
    explicit OutputFileSink(MessageLog& log) : log_(log) {}

    // Creates the output with the header alone; false when it cannot be written.
    bool Create(std::span<const std::uint8_t> header) {
        if (!file_.Open(kOutputFile, platform::FileMode::kWriteBinary)) return false;
        return Put(header) || Discard();
    }

    // Adds bytes that stay plain (the song's tracks); false when they cannot be written.
    bool AddPlain(std::span<const std::uint8_t> bytes) { return Put(bytes) || Discard(); }

    void Track(std::span<const std::uint8_t> plain, std::span<const std::uint8_t> coded) override {
        if (!WriteFile(kTrackScratch, plain)) {
            LogOutputFailure(log_, "Error: Cannot create template output.", kTrackScratch);
            AbortCompose(1);
        }
        ++tracks_;
        bool written = Put(coded);
        // The name track does not count itself again.
        if (written && tracks_ <= kComposedTracks) {
            const std::uint8_t count = static_cast<std::uint8_t>(2 + tracks_ + 1);
            written = file_.Seek(static_cast<std::int64_t>(kTrackCountOffset)) &&
                      file_.WriteBytes(std::span(&count, 1)) && file_.Seek(end_);
        }
        if (!written || (tracks_ > kComposedTracks && !file_.CloseOrDiscard())) {
            Discard();
            LogOutputFailure(log_, "Error: Cannot open template data for update mode", kOutputFile);
            AbortCompose(1);
        }
    }

  private:
    static constexpr int kComposedTracks = 9;

    // Writes `bytes` at the end and onto the disk at once.
    bool Put(std::span<const std::uint8_t> bytes) {
        end_ += static_cast<std::int64_t>(bytes.size());
        return file_.WriteBytes(bytes) && file_.Seek(end_);
    }

    // A file that could not be written completely is no output.
    bool Discard() {
        file_.CloseOrDiscard();
        return false;
    }

    platform::File file_;
    std::int64_t end_ = 0;
    MessageLog& log_;
    int tracks_ = 0;
};

// The body of the run; messages go into `log`, a fatal stop throws worker::WorkerFatal.
int Compose(std::string_view commandLine, std::time_t now, MessageLog& log) {
    std::vector<std::string> fields;
    if (SplitComposeArgs(commandLine, fields) != kArgumentCount + 1) return 1;
    const ComposeOptions options = DecodeComposeArgs(fields);
    worker::CallerWindow = options.callerWindow;
    if (options.callerWindow == 0 || options.version != kVersionToken) return 1;

    ComposeSetup setup;
    setup.options = options;
    setup.runCode = static_cast<int>(now % kRunCodeSpan) + kRunCodeBase;
    worker::SetSuccessDoneCode(static_cast<std::uint32_t>(setup.runCode - 1));

    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(kOptionsFile, bytes)) {
        log.Printf("Cannot open %s for reading.", kOptionsFile);
        AbortCompose(1);
    }
    if (!ParseVPara(TextModeBytes(bytes), setup.slotParams)) {
        log.Printf("Error: Invalid parameters in %s.", kOptionsFile);
        AbortCompose(1);
    }
    for (int slot = 0; slot < kSlotCount; ++slot)
        setup.slotSettings[slot] = SlotSettingsFromName(options.styleNames[slot]);
    for (int slot = 1; slot < kSlotCount; ++slot) {
        if (setup.slotSettings[slot].stepsPerQuarter != setup.slotSettings[0].stepsPerQuarter) {
            log.Append(
                "Sorry. The Selected Styles can not be used together.\nPlease try to select other "
                "style(s).");
            return 1;
        }
    }

    // Song inputs.
    std::vector<std::uint8_t> song;
    if (!platform::ReadWholeFile(kSongFile, song)) {
        log.Printf("Error: <%s> not found.", kSongFile);
        return 1;
    }
    InputStatus status = ReadSongHeader(song, setup.header);
    if (!status.ok) {
        log.Append(status.message);
        return 1;
    }
    if (setup.slotSettings[0].stepsPerQuarter == 8) {
        setup.beatPattern.fill(1);
    } else if (!platform::ReadWholeFile(kBeatFile, bytes)) {
        setup.beatPattern.fill(1);
    } else {
        setup.beatPattern = ReadBeatPattern(TextModeBytes(bytes));
    }
    if (!platform::ReadWholeFile(kChordFile, bytes)) {
        log.Printf("Error: %s not found.", kChordFile);
        return 1;
    }
    status = ReadChordData(bytes, options.chordDataKey, setup.chords);
    if (!status.ok) {
        log.Append(status.message);
        return 1;
    }
    const int measures = static_cast<int>(setup.chords.measures.size());
    if (!platform::ReadWholeFile(kNotesFile, bytes)) {
        log.Printf("%s not found.", kNotesFile);
        return 1;
    }
    setup.songPitchClasses = ReadSongPitchClasses(TextModeBytes(bytes), 2 * measures);
    if (!platform::ReadWholeFile(kStatsFile, bytes)) {
        log.Printf("Error: %s not found.", kStatsFile);
        return 1;
    }
    setup.stats = ReadMeasureStats(TextModeBytes(bytes));
    if (measures == 0) {
        log.Append("Error: No measures found!");
        return 1;
    }

    Composer composer(std::move(setup), log);
    composer.PrepareSong();
    {
        platform::File scale;
        if (!scale.Open(kScaleFile, platform::FileMode::kWriteText)) {
            LogOutputFailure(log, "Cannot create Error2.msg.", kScaleFile);
            return 1;
        }
        scale.Write(composer.SongScaleText());
        if (!scale.CloseOrDiscard()) {
            LogOutputFailure(log, "Cannot create Error2.msg.", kScaleFile);
            return 1;
        }
    }

    OutputFileSink sink(log);
    const std::vector<std::uint8_t> header = OutputHeader();
    if (!sink.Create(header)) {
        LogOutputFailure(log,
                         std::string("Error: Cannot create template data <") + kOutputFile + ">.",
                         kOutputFile);
        return 1;
    }
    std::vector<std::uint8_t> output = header;
    status = CopyFirstTwoTracks(song, output);
    if (!status.ok) {
        log.Append(status.message);
        return 1;
    }
    if (!sink.AddPlain(std::span(output).subspan(header.size()))) {
        LogOutputFailure(log,
                         std::string("Error: Cannot create template data <") + kOutputFile + ">.",
                         kOutputFile);
        return 1;
    }

    // The blocks are decoded in memory; the scratch file they pass through still has to be
    // creatable, as a folder that refuses it refuses the style loading.
    if (!WriteFile(kScratchFile, std::string_view())) {
        LogOutputFailure(log,
                         std::string("LoadStys() Error: Cannot create file <") + kScratchFile + ">",
                         kScratchFile);
        AbortCompose(1);
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string& name = options.styleNames[slot - 1];
        std::vector<std::uint8_t> style;
        if (name.empty() || !platform::ReadWholeFile(name, style)) {
            log.Printf("Error: <%s> not found.", name.c_str());
            return 1;
        }
        composer.LoadStyle(slot, style);
    }

    const ComposeResult result = composer.ComposeAll(&sink);
    if (!WriteFile(kSectionFile, composer.SectionFileText())) {
        LogOutputFailure(log, std::string("Error: Cannot create ") + kSectionFile, kSectionFile);
        return 1;
    }
    log.Append(composer.ClosingLines(result));
    if (!WriteFile(kScratchFile, composer.CountsFileText(result))) return 1;
    return 0;
}

}  // namespace

int RunComposeAt(std::string_view commandLine, std::time_t now) {
    platform::File errorFile;
    if (!errorFile.Open(kErrorFile, platform::FileMode::kWriteText)) return 1;
    MessageLog log;
    int rc = 1;
    try {
        rc = Compose(commandLine, now, log);
    } catch (const worker::WorkerFatal& fatal) {
        rc = fatal.exitCode() == 0 ? 1 : fatal.exitCode();
    } catch (const std::exception&) {
        log.Append("Error: Out of memory.");
        rc = 1;
    }
    errorFile.Write(log.text());
    errorFile.Close();
    platform::CloseAllFiles();
    return rc;
}

int RunCompose() {
    return RunComposeAt(worker::StoredCommandLine(), std::time(nullptr));
}

void RecreateScratchOnFailure(bool failed) {
    if (!failed) return;
    platform::File scratch;
    if (scratch.Open(kScratchFile, platform::FileMode::kWriteBinary)) scratch.Close();
}

const worker::WorkerConfig kWorkerConfig{
    .job = RunCompose,
    .errorFile = kErrorFile,
    .successDoneCode = 0,
    .failureDoneCode = kFailureDoneCode,
    .quitOnRightButton = true,
    .beforeCompletion = RecreateScratchOnFailure,
};

}  // namespace composer
