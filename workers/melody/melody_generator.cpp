#include "workers/melody/melody_generator.h"

#include <array>

namespace melody {

namespace {

struct NotePair {
    char letter;  // 0 for an empty pair
    int weight;   // 1 marks the tonic: its weight grows with the notes since the last tonic
};
using NoteRow = std::array<NotePair, 7>;
using NoteRows = std::array<NoteRow, 7>;

// clang-format off
constexpr NoteRows kMajorNoteRows = {{
    {{{'C', 2}, {'D', 4}, {'E', 4}, {'F', 4}, {'G', 2}, {'A', 4}, {0, 0}}},
    {{{'D', 2}, {'F', 2}, {'G', 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'E', 2}, {'A', 2}, {'D', 2}, {'C', 1}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'F', 2}, {'G', 2}, {'E', 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'G', 2}, {'A', 2}, {'C', 1}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'A', 2}, {'G', 2}, {'F', 2}, {'D', 2}, {'C', 1}, {0, 0}, {0, 0}}},
    {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},  // the place of B
}};

constexpr NoteRows kMinorNoteRows = {{
    {{{'A', 2}, {'D', 2}, {'F', 4}, {'C', 4}, {0, 0}, {0, 0}, {0, 0}}},
    {{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},  // the place of B
    {{{'C', 2}, {'D', 2}, {'F', 2}, {'A', 1}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'D', 2}, {'E', 2}, {'G', 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'E', 2}, {'F', 2}, {'A', 1}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'F', 2}, {'G', 2}, {'E', 2}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    {{{'G', 2}, {'F', 8}, {'C', 8}, {'A', 2}, {0, 0}, {0, 0}, {0, 0}}},
}};
// clang-format on

constexpr int kDrawsPerNote = 50;
constexpr int kSections = 3;
constexpr int kMeasuresPerSection = 32;
constexpr int kLeadInMeasures = 4;
constexpr int kGapMeasures = 7;
constexpr std::array<Tick, kSections> kSectionOffsets = {0, 96, 288};
constexpr Tick kSoftNoteDelay = 96;
constexpr std::uint8_t kMainVelocity = 0x3C;
constexpr std::uint8_t kSoftVelocity = 0x14;
constexpr std::uint8_t kSustainPedal = 0x40;
constexpr std::uint8_t kSustainOn = 0x41;
constexpr std::uint8_t kPan = 0x0A;
constexpr std::uint8_t kPanCentre = 0x40;
constexpr std::uint8_t kClosingVelocity = 0x05;
constexpr Tick kClosingGap = 96;
constexpr Tick kClosingLength = 96;

int NoteLetterPitch(char letter) {
    switch (letter) {
        case 'C':
            return 60;
        case 'D':
            return 62;
        case 'E':
            return 64;
        case 'F':
            return 65;
        case 'G':
            return 67;
        case 'A':
            return 69;
        default:
            return 71;
    }
}

// Relative minor tonics for key signatures -6..7.
int RelativeMinorTonic(int keySf) {
    static constexpr std::array<int, 14> kTonics = {63, 70, 65, 60, 67, 62, 69,
                                                    64, 71, 66, 61, 68, 63, 70};
    if (keySf < -6 || keySf > 7) return -1;
    return kTonics[static_cast<std::size_t>(keySf + 6)];
}

}  // namespace

KeyMode SetMelodyKey(int keySf, int tonicNote) {
    return RelativeMinorTonic(keySf) == tonicNote ? KeyMode::kMinor : KeyMode::kMajor;
}

int FoldMelodyNote(KeyMode mode, int pitch) {
    const int low = mode == KeyMode::kMajor ? 66 : 63;
    while (pitch < low) pitch += 12;
    while (pitch > low + 12) pitch -= 12;
    return pitch;
}

int TonicOffset(KeyMode mode, int tonicNote, int pitch) {
    const int tonic = tonicNote == 60 ? 72 : tonicNote;
    return pitch + tonic - (mode == KeyMode::kMajor ? 72 : 69);
}

char MelodyChain::NextLetter() {
    const NoteRows& rows = mode_ == KeyMode::kMajor ? kMajorNoteRows : kMinorNoteRows;
    const char tonic = mode_ == KeyMode::kMajor ? 'C' : 'A';

    char row = current_;
    if (row == 0) row = rows[static_cast<std::size_t>(random_.Draw() % 7)][0].letter;
    if (row == 0) row = tonic;
    const int runBefore = tonicRun_;
    if (row != tonic) tonicRun_ = 0;

    char next = row;
    if (!(row == tonic && runBefore < 2)) {
        const NoteRow* found = &rows[0];
        for (const NoteRow& candidate : rows) {
            if (candidate[0].letter == row) {
                found = &candidate;
                break;
            }
        }
        int total = 1;
        for (const NotePair& pair : *found) total += pair.weight == 1 ? sinceTonic_ : pair.weight;
        for (int draw = 0; draw < kDrawsPerNote; ++draw) {
            const int x = random_.Draw() % total;
            const NotePair* taken = &(*found)[0];
            int sum = 0;
            for (const NotePair& pair : *found) {
                sum += pair.weight;
                if (sum >= x) {
                    taken = &pair;
                    break;
                }
            }
            next = taken->letter != 0 ? taken->letter : row;
            const bool repeatAllowed = next == current_ && repeatCount_ < 1;
            const bool fresh = next != current_ && next != previous_;
            if (repeatAllowed || fresh) break;
        }
        if (next == current_) {
            ++repeatCount_;
        } else {
            repeatCount_ = 0;
            previous_ = current_;
            current_ = next;
        }
    }

    if (next == tonic) {
        sinceTonic_ = 0;
        ++tonicRun_;
    } else {
        ++sinceTonic_;
        tonicRun_ = 0;
    }
    return next;
}

int MelodyChain::NextMelodyNote() {
    const char letter = NextLetter();
    return TonicOffset(mode_, tonicNote_, FoldMelodyNote(mode_, NoteLetterPitch(letter)));
}

SongOutcome GenerateMelody(const MelodyJob& job, std::int32_t remainder, std::uint32_t seed) {
    SongOutcome outcome;
    if (remainder != 0) return outcome;

    std::vector<std::uint8_t> song;
    AppendSongHeader(song);
    {
        TrackBytes conductor = OpenConductorTrack(song, job.beatsCode, job.tempoBpm);
        const auto tempo = TempoBytes(job.tempoBpm);
        conductor.Append({0x00, 0xFF, 0x51, 0x03, tempo[0], tempo[1], tempo[2]});
        conductor.Close();
    }

    TrackBytes track(song);
    track.Append({0x00, 0xFF, 0x03, 0x06, 'R', 'a', 'n', 'd', 'o', 'm'});
    track.Append({0x00, kControlChange, 0x00, 0x00});  // bank select 0
    track.Append({0x00, kProgramChange, 0x04});
    track.Append({0x00, 0xFF, 0x59, 0x02, static_cast<std::uint8_t>(job.keySf), 0x00});
    track.Append({0x00, kControlChange, 0x07, 0x78});  // volume 120
    track.Append({0x00, kControlChange, 0x0B, 0x78});  // expression 120
    track.Append({0x00, kControlChange, 0x5B, 0x28});  // reverb depth 40
    track.Append({0x00, kControlChange, 0x5D, 0x28});  // chorus depth 40

    const Tick measure = Tick{QuartersPerMeasure(job.beatsCode)} * kSongDivision;
    const Tick leadIn = measure * kLeadInMeasures;
    const Tick gap = measure * kGapMeasures;
    MelodyRandom random(seed);
    MelodyChain chain(SetMelodyKey(job.keySf, job.tonicNote), job.tonicNote, random);

    // Every delta below is positive and far below the limit, so AppendDelta cannot fail.
    auto delta = [&](Tick value) { (void)track.AppendDelta(value); };
    int mainNote = 0;
    int softNote = 0;
    Tick lastTick = 0;
    for (int section = 0; section < kSections; ++section) {
        for (int m = 0; m < kMeasuresPerSection; ++m) {
            const Tick tick = measure * (kMeasuresPerSection * section + m) + section * gap +
                              kSectionOffsets[static_cast<std::size_t>(section)] + leadIn;
            const int pitch = chain.NextMelodyNote();
            const int softPitch = pitch;
            if (pitch == mainNote && softPitch == softNote) continue;  // the note is held
            delta(tick - lastTick);
            Tick written = tick;
            if (mainNote != 0 && pitch != mainNote) {
                track.Append({kNoteOff, static_cast<std::uint8_t>(mainNote), 0x00});
                track.Append({0x00, kControlChange, kSustainPedal, 0x00});
            }
            if (mainNote != 0) track.Append({0x00});
            const bool struck = pitch != mainNote;
            if (struck) {
                track.Append({kControlChange, kSustainPedal, kSustainOn, 0x00});
                track.Append({kNoteOn, static_cast<std::uint8_t>(pitch), kMainVelocity});
            }
            if (softPitch != softNote) {
                if (struck) {
                    delta(kSoftNoteDelay);
                    track.Append({kNoteOff, static_cast<std::uint8_t>(pitch), 0x00});
                    track.Append({0x00, kControlChange, kPan, kPanCentre, 0x00});
                    written += kSoftNoteDelay;
                }
                track.Append({kNoteOn, static_cast<std::uint8_t>(softPitch), kSoftVelocity});
            }
            mainNote = pitch;
            softNote = softPitch;
            lastTick = written;
        }
        const Tick sectionEnd =
            measure * kMeasuresPerSection * (section + 1) + section * gap + leadIn;
        delta(sectionEnd - lastTick);
        track.Append({kNoteOff, static_cast<std::uint8_t>(mainNote), 0x00});
        track.Append({0x00, kNoteOff, static_cast<std::uint8_t>(softNote), 0x00});
        track.Append({0x00, kControlChange, kSustainPedal, 0x00});
        mainNote = 0;
        lastTick = sectionEnd;
    }

    delta(Tick{job.endingMeasures} * measure + kClosingGap);
    const auto tonic = static_cast<std::uint8_t>(job.tonicNote);
    track.Append({kNoteOn, tonic, kClosingVelocity});
    delta(kClosingLength);
    track.Append({kNoteOff, tonic, 0x00});
    track.Close();
    AppendClosingTrack(song);

    outcome.ok = true;
    outcome.song = std::move(song);
    return outcome;
}

}  // namespace melody
