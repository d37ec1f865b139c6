#include "workers/melody/melody_driver.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "workers/common/output_failure.h"
#include "workers/common/worker_fatal.h"
#include "workers/melody/melody_args.h"
#include "workers/melody/melody_generator.h"
#include "workers/melody/melody_reader.h"
#include "workers/melody/melody_writer.h"

namespace melody {

namespace {

constexpr std::int16_t kGeneratedIntroMeasures = 4;
constexpr std::int16_t kGeneratedEndingMeasures = 6;

constexpr int kSucceeded = 0;
constexpr int kFailed = 1;

static_assert(kErrorFileLimit % 1024 == 0, "the cut line gives the limit in whole KB");

// The line names the file and its limit from the values that set them, so that it cannot go on
// saying what a change of either made untrue.
const std::string& CutLine() {
    static const std::string line =
        "\n(The rest of the messages was cut: " + std::string(kErrorFileName) + " keeps " +
        std::to_string(kErrorFileLimit / 1024) + " KB.)\n";
    return line;
}

// Error4.msg. A source full of garbage can give note after note; the file keeps the first
// kErrorFileLimit bytes on disk (line ends included) and ends with a line saying the rest was
// cut, so it can neither fill the disk nor hide that something is missing.
class ErrorFile {
  public:
    bool Create() { return file_.Open(kErrorFileName, platform::FileMode::kWriteText); }

    void Write(std::string_view text) {
        if (cut_) return;
        const std::size_t room = kErrorFileLimit - DiskSize(CutLine());
        std::size_t take = 0;
        for (std::size_t size = 0; take < text.size(); ++take) {
            size += text[take] == '\n' ? 2 : 1;
            if (written_ + size > room) break;
        }
        file_.Write(text.substr(0, take));
        written_ += DiskSize(text.substr(0, take));
        if (take < text.size()) {
            file_.Write(CutLine());
            cut_ = true;
        }
    }

    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char text[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        Write(text);
    }

  private:
    // Text mode writes each "\n" as CR LF.
    static std::size_t DiskSize(std::string_view text) {
        return text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }

    platform::File file_;
    std::size_t written_ = 0;
    bool cut_ = false;
};

// A scratch file could not be had: the run fails, saying why.
int FailScratchFile(const char* name, ErrorFile& errorFile) {
    errorFile.Write(worker::WithFailureReason(std::string("Cannot create ") + name + ".", name));
    return kFailed;
}

// Puts a finished song in place of the song input; a failed run leaves the old one untouched.
int StoreSongInput(const SongOutcome& outcome, ErrorFile& errorFile) {
    if (!outcome.message.empty()) errorFile.Write(outcome.message);
    if (outcome.fatal) throw worker::WorkerFatal();
    if (!outcome.ok) return kFailed;
    if (!platform::ReplaceFileAtomically(kSongInputFileName, outcome.song)) {
        errorFile.Write(
            worker::WithFailureReason("Cannot create output midi file.", kSongInputFileName));
        return kFailed;
    }
    return kSucceeded;
}

bool ReadBack(const char* name, std::string& text, ErrorFile& errorFile) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(name, bytes)) {
        errorFile.Printf("Cannot open %s for reading.", name);
        return false;
    }
    text.assign(bytes.begin(), bytes.end());
    return true;
}

int WriteMelodyMidi(const MelodyJob& job, int division, std::int32_t remainder,
                    ErrorFile& errorFile) {
    if (auto message = InvalidDivisionMessage(division)) {
        errorFile.Write(*message);
        return kFailed;
    }
    std::string events;
    std::string tempos;
    if (!ReadBack(kEventsFileName, events, errorFile)) return kFailed;
    if (!ReadBack(kTemposFileName, tempos, errorFile)) return kFailed;
    return StoreSongInput(BuildMelodySong(job, division, tempos, events, remainder), errorFile);
}

int ImportMelody(const MelodyJob& job, std::int32_t remainder, ErrorFile& errorFile,
                 platform::File& listing, platform::File& tempos, platform::File& events) {
    std::vector<std::uint8_t> source;
    if (!platform::ReadWholeFile(kSourceFileName, source)) {
        errorFile.Printf("%s not found.", kSourceFileName);
        return kFailed;
    }
    const MelodyScan scan = ReadMelodySource(source, job.trackNo);
    listing.Write(scan.listing);
    tempos.Write(scan.tempoLines);
    events.Write(scan.eventLines);
    errorFile.Write(scan.errorText);
    if (scan.fatal) throw worker::WorkerFatal();
    // The writer reads the scratch files back, so they must be complete on disk first.
    for (auto [file, name] :
         {std::pair{&listing, kListingFileName}, std::pair{&tempos, kTemposFileName},
          std::pair{&events, kEventsFileName}}) {
        if (!file->CloseOrDiscard()) return FailScratchFile(name, errorFile);
    }
    if (scan.notesOn == 0) {
        errorFile.Write("No note found on the selected Track/Channel.");
        return kFailed;
    }
    return WriteMelodyMidi(job, scan.division, remainder, errorFile);
}

}  // namespace

int QuenbyMain() {
    // A run killed before its rename left a temporary song input; this run owns the name.
    platform::RemoveStaleTemporaries(kSongInputFileName);
    ErrorFile errorFile;
    if (!errorFile.Create()) return kFailed;
    if (SplitQuenbyCommandLine() != kQuenbyTokenCount) return kFailed;

    QuenbyTokens tokens{};
    for (int n = 1; n <= kQuenbyTokenCount; ++n) tokens[n] = QuenbyToken(n);
    QuenbyArgs args = ConvertQuenbyTokens(tokens);
    worker::CallerWindow = static_cast<platform::Hwnd>(args.callerWnd);
    if (!QuenbyArgsInRange(args)) return kFailed;

    platform::File listing;
    platform::File tempos;
    platform::File events;
    for (auto [file, name] :
         {std::pair{&listing, kListingFileName}, std::pair{&tempos, kTemposFileName},
          std::pair{&events, kEventsFileName}}) {
        if (!file->Open(name, platform::FileMode::kWriteText))
            return FailScratchFile(name, errorFile);
    }

    const std::int32_t remainder = SumTokenRemainder(args);
    if (args.runMode == kGenerateRunMode) {
        // The given lead-in and tail count only for the sum.
        args.job.introMeasures = kGeneratedIntroMeasures;
        args.job.endingMeasures = kGeneratedEndingMeasures;
        args.job.timeFactor = 1;
        const auto seed = static_cast<std::uint32_t>(std::time(nullptr));
        return StoreSongInput(GenerateMelody(args.job, remainder, seed), errorFile);
    }
    return ImportMelody(args.job, remainder, errorFile, listing, tempos, events);
}

const worker::WorkerConfig kWorkerConfig{
    .job = QuenbyMain,
    .errorFile = kErrorFileName,
    .successDoneCode = kQuenbyDoneCode,
    .failureDoneCode = kQuenbyDoneCode,
    .quitOnRightButton = false,
    .beforeCompletion = nullptr,
};

}  // namespace melody
