#include "workers/keydetect/keydetect_driver.h"

#include <memory>
#include <vector>

#include "platform/file.h"
#include "workers/common/command_line.h"
#include "workers/common/output_failure.h"
#include "workers/common/worker_fatal.h"
#include "workers/keydetect/key_finding.h"

namespace keydetect {
namespace {

// The reader always places notes in 32nd-note steps for the key detector.
constexpr worker::QuantMode kSorvikQuantMode = worker::QuantMode::kQuantised;

// A caller that failed the handle-token test hears nothing: the files written so far stay,
// no completion goes out.
[[noreturn]] void EndWithoutCompletion() {
    worker::CallerWindow = 0;
    throw worker::WorkerFatal();
}

void WriteKeyCode(int keyCode, platform::File& errorFile) {
    platform::File keyCodeFile;
    if (!keyCodeFile.Open(kKeyCodeFileName, platform::FileMode::kWriteText)) {
        errorFile.Printf("Cannot create %s to write KqKeyCode.\n", kKeyCodeFileName);
        return;
    }
    keyCodeFile.Write(KeyCodeText(keyCode));
    // One cut short on a full disk is no key code: it goes, and the run goes on as when it
    // could not be created.
    if (!keyCodeFile.CloseOrDiscard()) {
        errorFile.Printf("Cannot create %s to write KqKeyCode.\n", kKeyCodeFileName);
    }
}

// The key list could not be had: the run fails, saying why.
[[noreturn]] void FailKeyList(platform::File& errorFile) {
    errorFile.Write(worker::WithFailureReason(
        std::string("Cannot create ") + kKeyListFileName + " for output.", kKeyListFileName));
    throw worker::WorkerFatal();
}

// The key finding run and its files; false when no key could be found.
bool CreateKcnData(const NotOnList& notes, const SongTiming& timing, const SorvikArgs& args,
                   platform::File& errorFile, platform::File& infoFile) {
    const NoteStatistics stats(notes.notes());
    const GlobalKeyResult global = FindGlobalKey(stats);
    if (!global.ok) {
        infoFile.Write(kTooFewClassesLog);
        WriteKeyCode(0, errorFile);
        return false;
    }
    infoFile.Write(KeyFoundLogText(global.key));
    WriteKeyCode(global.key.keyCode, errorFile);

    const KeyChangeResult changes = FindKeyChangePoints(stats, timing, HandleTokenValid(args));
    switch (changes.status) {
        case KeyChangeStatus::kOk:
            break;
        case KeyChangeStatus::kHandleTokenRejected:
            EndWithoutCompletion();
        case KeyChangeStatus::kTooManyPoints:
            errorFile.Printf("Too many Key Change Points (%d) in the input melody.\n",
                             kMaxKeyChangePoints + 1);
            throw worker::WorkerFatal();
    }

    platform::File keyList;
    if (!keyList.Open(kKeyListFileName, platform::FileMode::kWriteText)) FailKeyList(errorFile);
    keyList.Write(KeyListText(changes.points, args.keyChangeFlag != 0, global.key.keyCode));
    // The chord maker trusts whatever key list it finds, so one that could not be written whole
    // is removed and the run fails as if it could not be created.
    if (!keyList.CloseOrDiscard()) FailKeyList(errorFile);
    return true;
}

}  // namespace

bool HandleTokenValid(const SorvikArgs& args) {
    const std::uint32_t difference = static_cast<std::uint32_t>(args.handleToken) - args.caller -
                                     static_cast<std::uint32_t>(args.versionToken);
    return difference == static_cast<std::uint32_t>(kHandshake);
}

worker::ReadStatus NoteCollector::OnNoteOn(const worker::SongState& state, int key) {
    if (!list_.RecordNoteOn(state.songTick, key)) {
        return worker::ReadStatus::Fail(kTooManyNotOnMessage);
    }
    return worker::ReadStatus::Ok();
}

worker::ReadStatus NoteCollector::OnNoteOff(const worker::SongState& state, int key) {
    list_.RecordNoteOff(state.songTick, key);
    return worker::ReadStatus::Ok();
}

worker::ReadStatus NoteCollector::FlushMeasure(worker::SongState& state,
                                               worker::MeasureIndex /*newMeasure*/) {
    worker::ResetMeasureNotes(state.curNotes);
    return worker::ReadStatus::Ok();
}

int FindKey() {
    platform::File errorFile;
    if (!errorFile.Open(kErrorFileName, platform::FileMode::kWriteText)) return 1;
    platform::File infoFile;
    if (!infoFile.Open(kInfoFileName, platform::FileMode::kWriteText)) {
        errorFile.Write(worker::WithFailureReason(
            std::string("Cannot create output file ") + kInfoFileName + "\n", kInfoFileName));
        return 1;
    }

    const int split = worker::SplitCommandLine(worker::kDefaultFieldLimit);
    if (split != kSorvikFieldCount + 1) {
        errorFile.Printf("<%s>\n", worker::StoredCommandLine());
        errorFile.Printf("sb(%d) != sbVal(%d)", split, kSorvikFieldCount + 1);
        return 1;
    }
    SorvikArgs args;
    args.caller = worker::ParseHandle(worker::Field(1));
    worker::CallerWindow = args.caller;
    if (args.caller == 0) return 1;
    args.versionToken = worker::ParseInt32(worker::Field(2));
    args.handleToken = worker::ParseInt32(worker::Field(3));
    args.keyChangeFlag = worker::ParseInt16(worker::Field(4));

    std::vector<std::uint8_t> song;
    if (!platform::ReadWholeFile(kSongFileName, song)) {
        errorFile.Printf(" %s not found.", kSongFileName);
        return 1;
    }
    const auto notes = std::make_unique<NotOnList>();
    const auto state = std::make_unique<worker::SongState>();
    state->quantMode = kSorvikQuantMode;
    NoteCollector collector(*notes);
    const worker::ReadStatus read = worker::ReadSong(song, *state, collector);
    if (!read.ok) {
        errorFile.Write(read.message);
        return 1;
    }

    const SongTiming timing{state->meter.ticksPerMeasure, worker::kTicksPerQuarter};
    const bool found = CreateKcnData(*notes, timing, args, errorFile, infoFile);
    // The log is read by people only: losing it on a full disk is said and the run goes on.
    if (!infoFile.CloseOrDiscard())
        errorFile.Printf("Cannot create output file %s\n", kInfoFileName);
    return found ? 0 : 1;
}

const worker::WorkerConfig kWorkerConfig{
    .job = FindKey,
    .errorFile = kErrorFileName,
    .successDoneCode = kSorvikDoneCode,
    .failureDoneCode = kSorvikDoneCode,
    .quitOnRightButton = false,
    .beforeCompletion = nullptr,
};

}  // namespace keydetect
