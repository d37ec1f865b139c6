// The key detector's job: check the command line, collect the melody's note-ons into the note
// list while the shared reader walks the song input, find the key and the key change points,
// and write "KeyCode.dat", "KeysData.Aco", the log "kInfo.aco" and the error file "kErr1.msg".
// Run by the worker skeleton with the completion code 46.
#pragma once

#include <cstdint>

#include "formats/exchange_files.h"
#include "platform/window.h"
#include "workers/common/smf_reader.h"
#include "workers/common/worker_skeleton.h"
#include "workers/keydetect/note_list.h"

namespace keydetect {

inline constexpr const char* kErrorFileName = formats::files::kKErr1;
inline constexpr const char* kInfoFileName = formats::files::kKInfo;
inline constexpr const char* kSongFileName = formats::files::kInPut;
inline constexpr const char* kKeyCodeFileName = formats::files::kKeyCode;
inline constexpr const char* kKeyListFileName = formats::files::kKeysData;

constexpr std::uint32_t kSorvikDoneCode = 46;
// Handle, version stamp, handle token, key-change flag.
constexpr int kSorvikFieldCount = 4;
// The caller writes handle + kHandshake + version stamp as its handle token.
constexpr std::int32_t kHandshake = 31470952;

struct SorvikArgs {
    platform::Hwnd caller = 0;
    std::int32_t versionToken = 0;
    std::int32_t handleToken = 0;
    std::int16_t keyChangeFlag = 0;
};

// Token minus handle minus version stamp must give the handshake; computed in 32 bits with
// wrap-around, as the caller computed the token.
bool HandleTokenValid(const SorvikArgs& args);

// The note collection: the reader's hooks that fill the note list.
class NoteCollector : public worker::MeasureSink {
  public:
    explicit NoteCollector(NotOnList& list) : list_(list) {}

    worker::ReadStatus OnNoteOn(const worker::SongState& state, int key) override;
    worker::ReadStatus OnNoteOff(const worker::SongState& state, int key) override;
    bool CountsBeatHistogram() const override { return false; }
    // The key detector keeps nothing of a measure.
    worker::ReadStatus FlushMeasure(worker::SongState& state,
                                    worker::MeasureIndex newMeasure) override;

  private:
    NotOnList& list_;
};

inline constexpr char kTooManyNotOnMessage[] = "Too many NotOn in the melody track.";

// The job routine: 0 on success, 1 on failure.
int FindKey();

extern const worker::WorkerConfig kWorkerConfig;

}  // namespace keydetect
