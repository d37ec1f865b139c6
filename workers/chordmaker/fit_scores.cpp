#include "workers/chordmaker/fit_scores.h"

#include "workers/chordmaker/error_text.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {

namespace {

constexpr int kFullFit = 50;
constexpr int kFullCoFit = 10;
constexpr int kSharedNoteValue = 40;

int Fit(const NoteProfile& profile, const NoteSet& tones, int full, int empty) {
    if (profile.counted == 0) return empty;
    int hits = 0;
    for (const int tone : tones.notes) {
        if (tone != kNoNote) hits += profile.perClass[tone];
    }
    return full * hits / profile.counted;
}

const NoteProfile& ProfileOf(const SongInput& song, int half) {
    return song.Half(half).profile;
}

constexpr ToneRules kPlainRules{.acceptSuspended = true, .raisedFifth = true};
constexpr ToneRules kMajorRules{
    .acceptSuspended = false, .ninthWithMajor = true, .majorSeventhWithMajor = true};
constexpr ToneRules kSuspendedRules{
    .acceptSuspended = true, .ninthWithMajor = true, .majorSeventhWithMajor = true};

int Shared(const NoteSet& previous, const NoteSet& candidate) {
    int sum = 0;
    bool seventhShared = false;
    for (int place = 0; place < 5; ++place) {
        const int note = candidate[place];
        if (note == kNoNote) continue;
        bool repeated = false;
        for (int earlier = 0; earlier < place; ++earlier) repeated |= candidate[earlier] == note;
        if (repeated) continue;
        bool found = false;
        for (const int other : previous.notes) found |= other != kNoNote && other == note;
        if (!found) continue;
        if (place == kSeventh) {
            seventhShared = true;
        } else {
            sum += kSharedNoteValue;
        }
    }
    return seventhShared ? sum : 0;
}

}  // namespace

int DemNoteNmOk(const SongInput& song, std::string_view chord, int half) {
    NoteSet tones;
    const int failed = ReadTones(chord, kPlainRules, tones);
    const HaStr text(chord);
    if (failed == 1) {
        throw worker::WorkerFatal(Format(
            "\nDemNoteNmOk 1: Error finding HaStr:<%s>, NuaMsIdx = %d\n", text.c_str(), half));
    }
    if (failed != 0) {
        throw worker::WorkerFatal(
            Format("\nDemNoteNmOk %d: Error finding HaStr:<%s>\n", failed, text.c_str()));
    }
    return Fit(ProfileOf(song, half), tones, kFullFit, 0);
}

int DemNoteNmOkM(const SongInput& song, std::string_view chord, int half) {
    NoteSet tones;
    const int failed = ReadTones(chord, kMajorRules, tones);
    if (failed != 0) {
        throw worker::WorkerFatal(
            Format("\nDemNoteNmOk %d: Error finding HaStr:<%s>\n", failed, HaStr(chord).c_str()));
    }
    return Fit(ProfileOf(song, half), tones, kFullFit, 0);
}

int DemNoteNmOkS(const SongInput& song, std::string_view chord, int half) {
    NoteSet tones;
    const int failed = ReadTones(chord, kSuspendedRules, tones);
    if (failed != 0) {
        throw worker::WorkerFatal(
            Format("\nDemNoteNmOkS %d: Error finding HaStr:<%s>\n", failed, HaStr(chord).c_str()));
    }
    return Fit(ProfileOf(song, half), tones, kFullFit, 0);
}

int DemNoteBaOk(const SongInput& song, std::string_view chord, int half) {
    NoteSet tones;
    const int failed = ReadHaBaTones(chord, tones);
    if (failed == 5)
        throw worker::WorkerFatal(Format("DemNoteBaOk Error <%s>,", HaStr(chord).c_str()));
    if (failed == 6) throw worker::WorkerFatal("DemNoteBaOk Invalid HaBa Sign,");
    if (failed != 0) throw worker::WorkerFatal(Format("\nDemNoteBaOk Error finding %d.\n", failed));
    return Fit(ProfileOf(song, half), tones, kFullFit, 0);
}

int DemNoteCoNm(const SongInput& song, std::string_view chord, int half) {
    NoteSet tones;
    const int failed = ReadTones(chord, kPlainRules, tones);
    if (failed != 0) {
        throw worker::WorkerFatal(
            Format("\nDemNoteCoNm %d: Error finding HaStr:<%s>\n", failed, HaStr(chord).c_str()));
    }
    return Fit(ProfileOf(song, half), tones, kFullCoFit, kFullCoFit);
}

int CountSharedNotes(std::string_view previous, std::string_view candidate) {
    return Shared(KhHa2Notes(previous), KhHa2Notes(candidate));
}

int CountSharedNotesM(std::string_view previous, std::string_view candidate) {
    return Shared(KhHa2NotesM(previous), KhHa2NotesM(candidate));
}

bool ChordHasNote(int mainNote, std::string_view chord) {
    if (mainNote == kNoNote) return false;
    const NoteSet notes = ChordNotes(chord);
    for (int place = kFifth; place <= kSeventh; ++place) {
        if (notes[place] == mainNote) return true;
    }
    return false;
}

bool ChordFitsSlot(const SongInput& song, int half, int mainNote, std::string_view chord,
                   int mode) {
    if (mainNote == kNoNote) return true;
    const NoteSet notes = ChordNotes(chord);
    if (mode == kFitRootOnly) return notes[kRoot] == mainNote;
    if (notes[kFifth] == mainNote || notes[kRoot] == mainNote || notes[kThird] == mainNote) {
        return true;
    }
    if (notes[kSeventh] == mainNote) {
        const int first = half & ~1;
        return DemNoteCoNm(song, chord, first) + DemNoteCoNm(song, chord, first + 1) > 10;
    }
    return false;
}

}  // namespace chordmaker
