#include "workers/common/smf_reader.h"

#include <optional>
#include <vector>

namespace worker {
namespace {

constexpr int kMaxVlqBytes = 4;
constexpr std::size_t kHeaderSize = 14;

// A cursor over the song bytes. A probe that finds the bytes are not its event puts the cursor
// back; a probe that lacks a byte at the end of the file answers no, so a file cut short is
// never read past its end.
class ByteCursor {
  public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t pos() const { return pos_; }
    void set_pos(std::size_t pos) { pos_ = pos; }
    std::size_t size() const { return bytes_.size(); }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    std::optional<std::uint8_t> Next() {
        if (pos_ >= bytes_.size()) return std::nullopt;
        return bytes_[pos_++];
    }
    // Moves on by `count` bytes; false (and the cursor at the end) when that runs past the end.
    bool Skip(std::uint64_t count) {
        if (count > bytes_.size() - pos_) {
            pos_ = bytes_.size();
            return false;
        }
        pos_ += static_cast<std::size_t>(count);
        return true;
    }
    bool Match(std::string_view text) {
        const std::size_t start = pos_;
        for (char c : text) {
            auto b = Next();
            if (!b || *b != static_cast<std::uint8_t>(c)) {
                pos_ = start;
                return false;
            }
        }
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

enum class Vlq { kOk, kTooLong, kTruncated };

// A variable-length quantity of at most four bytes.
Vlq ReadVlq(ByteCursor& in, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < kMaxVlqBytes; ++i) {
        auto b = in.Next();
        if (!b) return Vlq::kTruncated;
        value = (value << 7) | (*b & 0x7F);
        if ((*b & 0x80) == 0) return Vlq::kOk;
    }
    return Vlq::kTooLong;
}

struct NoteEvent {
    int key = 0;
    int velocity = 0;
};

// Reads a status byte in [low, low + 15] followed by two data bytes below 128.
std::optional<NoteEvent> ReadNoteEvent(ByteCursor& in, std::uint8_t low) {
    const std::size_t start = in.pos();
    auto status = in.Next();
    auto key = in.Next();
    auto velocity = in.Next();
    if (status && key && velocity && (*status & 0xF0) == low && *key < 128 && *velocity < 128) {
        return NoteEvent{*key, *velocity};
    }
    in.set_pos(start);
    return std::nullopt;
}

// A status byte whose high nibble is one of `highs`, followed by `dataBytes` bytes of any value.
bool SkipChannelEvent(ByteCursor& in, std::initializer_list<std::uint8_t> highs, int dataBytes) {
    const std::size_t start = in.pos();
    auto status = in.Next();
    bool matches = false;
    if (status) {
        for (std::uint8_t high : highs) matches = matches || (*status & 0xF0) == high;
    }
    for (int i = 0; matches && i < dataBytes; ++i) matches = in.Next().has_value();
    if (!matches) in.set_pos(start);
    return matches;
}

void SetMeter(MeterState& meter, int beats, const char* text, int split, int splitTriple) {
    meter.beatsPerMeasure = beats;
    meter.meterText = text;
    meter.quantSplit = split;
    meter.quantSplitTriple = splitTriple;
    meter.ticksPerMeasure = Tick{kTicksPerQuarter} * beats;
    meter.halfMeasure = meter.ticksPerMeasure / 2;
    meter.twoThirdsMeasure = meter.ticksPerMeasure * 2 / 3;
}

enum class Probe { kNo, kYes, kFailed };

class SongReader {
  public:
    SongReader(std::span<const std::uint8_t> song, SongState& state, MeasureSink& sink)
        : in_(song), state_(state), sink_(sink) {}

    ReadStatus Run() {
        // A header cut short is no MIDI file either; its format and division are not there.
        if (!in_.Match(midi::kHeaderChunkTag) || in_.size() < kHeaderSize) {
            return ReadStatus::Fail("No MThd Found. The input file is not a valid Midi File.");
        }
        int division = 0;
        if (auto status = GetDivision(division); !status.ok) return status;
        if (division != kTicksPerQuarter) return ReadStatus::Fail("!Unsupported Division Value.");
        return ReadingLoop();
    }

  private:
    ReadStatus GetDivision(int& division) {
        auto byte = [&]() { return in_.Next().value_or(0); };
        in_.Skip(4);
        const int format = byte() << 8 | byte();
        in_.Skip(2);
        division = byte() << 8 | byte();
        if (format == 0) return ReadStatus::Fail("!Unsupported file format.");
        if (format != 1) return ReadStatus::Fail("Unsupported file format.");
        return ReadStatus::Ok();
    }

    ReadStatus ReadingLoop() {
        state_.songTick = 0;
        ResetMeasureNotes(state_.curNotes);
        int chunks = 0;
        bool newChunk = true;
        while (!in_.AtEnd()) {
            if (newChunk) {
                newChunk = false;
                ++chunks;
                // Only the conductor chunk and the melody chunk are read. Notes of the next
                // chunk would come after the held-back note-offs: they count as read here.
                if (chunks < 3) {
                    if (auto s = ReplayBarLineOffs(); !s.ok) return s;
                }
                if (auto s = FlushPending(); !s.ok) return s;
                if (chunks == 3) break;
                state_.curNotes.count = 0;
                state_.songTick = 0;
                if (!in_.Match(midi::kTrackChunkTag)) return ReadStatus::Fail("No Track Found.");
                if (!in_.Skip(4)) break;
                continue;
            }
            std::uint32_t delta = 0;
            const Vlq deltaRead = ReadVlq(in_, delta);
            if (deltaRead == Vlq::kTooLong) return ReadStatus::Fail("Error: Common GetDtTime M.");
            if (deltaRead == Vlq::kTruncated) break;
            state_.songTick += delta;

            bool endOfTrack = false;
            Probe probe = SkipSysEx();
            if (probe == Probe::kNo) probe = SkipMetaEvent(endOfTrack);
            if (probe == Probe::kFailed) return failure_;
            if (probe == Probe::kYes) {
                if (endOfTrack) newChunk = true;
                if (stopReading_) break;
                continue;
            }
            if (SkipChannelEvent(in_, {0xC0, 0xD0}, 1)) continue;
            if (SkipChannelEvent(in_, {0xB0, 0xE0}, 2)) continue;
            if (auto on = ReadNoteEvent(in_, midi::kNoteOn)) {
                if (auto s = NoteOnStep(*on); !s.ok) return s;
                continue;
            }
            if (auto off = ReadNoteEvent(in_, midi::kNoteOff)) {
                if (auto s = NoteOffStep(*off); !s.ok) return s;
                continue;
            }
            return ReadStatus::Fail("!Found an Invalid Event.");
        }
        return FlushPending();
    }

    // Flushes the measure being collected. When note-offs on a later bar line were held back
    // (nothing came after them), they are dropped: the song ends with the measure before that
    // bar line, the last one in which a note sounds.
    ReadStatus FlushPending() {
        MeasureIndex next = state_.lastEventMeasure;
        if (!barLineOffs_.empty()) {
            // A note that sounds past the measure table makes the song too long all the same.
            if (barLineOffs_.front().measure > kMaxMeasures) {
                return ReadStatus::Fail("Out of memory. The input song has too many measures.");
            }
            next = static_cast<MeasureIndex>(barLineOffs_.front().measure);
            barLineOffs_.clear();
        }
        if (!HasPendingNotes(state_.curNotes)) return ReadStatus::Ok();
        return sink_.FlushMeasure(state_, next);
    }

    // Collects the held-back note-offs as they would have been when they were read.
    ReadStatus ReplayBarLineOffs() {
        const Tick now = state_.songTick;
        for (const BarLineOff& off : barLineOffs_) {
            state_.songTick = off.songTick;
            if (auto s = CollectNoteOff(off.key); !s.ok) return s;
        }
        barLineOffs_.clear();
        state_.songTick = now;
        return ReadStatus::Ok();
    }

    Probe Fail(std::string message) {
        failure_ = ReadStatus::Fail(std::move(message));
        return Probe::kFailed;
    }

    Probe SkipSysEx() {
        const std::size_t start = in_.pos();
        auto status = in_.Next();
        if (!status || *status != midi::kSysEx) {
            in_.set_pos(start);
            return Probe::kNo;
        }
        // The length after F0 is not interpreted: the data is skipped up to F7.
        for (;;) {
            auto b = in_.Next();
            if (!b) return Fail("Error found in System Exclusive Mess");
            if (*b == midi::kSysExEnd) return Probe::kYes;
        }
    }

    Probe SkipMetaEvent(bool& endOfTrack) {
        const std::size_t start = in_.pos();
        auto status = in_.Next();
        if (!status || *status != midi::kMeta) {
            in_.set_pos(start);
            return Probe::kNo;
        }
        in_.set_pos(start);
        if (in_.Match(std::string_view("\xFF\x2F\x00", 3))) {
            endOfTrack = true;
            return Probe::kYes;
        }
        if (Probe p = ReadTimeSignature(); p != Probe::kNo) return p;
        if (ReadKeySignature()) return Probe::kYes;
        if (Probe p = ReadTempo(); p != Probe::kNo) return p;

        in_.Skip(2);  // FF and the type byte
        std::uint32_t length = 0;
        const Vlq read = ReadVlq(in_, length);
        if (read == Vlq::kTooLong) return Fail("Error: Common GetDtTime.");
        if (read == Vlq::kTruncated || !in_.Skip(length)) stopReading_ = true;
        return Probe::kYes;
    }

    // Reads FF <type> <length> and `count` data bytes into `data`; puts the cursor back and
    // answers false when the bytes are not that event or the file ends inside it.
    bool ReadFixedMeta(std::uint8_t type, std::uint8_t length, std::uint8_t* data, int count) {
        const std::size_t start = in_.pos();
        auto ff = in_.Next();
        auto t = in_.Next();
        auto len = in_.Next();
        bool ok = ff == midi::kMeta && t == type && len == length;
        for (int i = 0; ok && i < count; ++i) {
            auto b = in_.Next();
            ok = b.has_value();
            if (ok) data[i] = *b;
        }
        if (!ok) in_.set_pos(start);
        return ok;
    }

    Probe ReadTimeSignature() {
        std::uint8_t d[4];
        if (!ReadFixedMeta(midi::kMetaTimeSignature, 4, d, 4)) return Probe::kNo;
        const int nn = d[0], dd = d[1];
        if (d[2] != 96 || d[3] != 8) return Fail("!Unsupported Time Signature.");
        MeterState& meter = state_.meter;
        if (nn == 2 && dd == 2) {
            SetMeter(meter, 2, "2/4", 12, 16);
        } else if (nn == 3 && dd == 2) {
            SetMeter(meter, 3, "3/4", 18, 24);
            meter.tripleFlag = 1;
        } else if (nn == 4 && dd == 2) {
            SetMeter(meter, 4, "4/4", 24, 36);
        } else if (nn == 6 && dd == 3) {
            SetMeter(meter, 3, "6/8", 18, 24);
            meter.tripleFlag = 0;
        } else {
            return Fail("!Unsupported Time Signature.");
        }
        return Probe::kYes;
    }

    bool ReadKeySignature() {
        std::uint8_t d[2];
        if (!ReadFixedMeta(midi::kMetaKeySignature, 2, d, 2)) return false;
        state_.currentKeySign = static_cast<std::int8_t>(d[0]);
        return true;
    }

    Probe ReadTempo() {
        std::uint8_t d[3];
        if (!ReadFixedMeta(midi::kMetaTempo, 3, d, 3)) return Probe::kNo;
        const std::int32_t tempo = d[0] << 16 | d[1] << 8 | d[2];
        if (tempo < 1) return Fail("!Cannot get Tempo of the song.");
        if (state_.songTempoBpm == 0) state_.songTempoBpm = 60000000 / tempo;
        return Probe::kYes;
    }

    // Without a time signature a note has no measure; the leading "!" lets the front end offer
    // the melody importer, which writes a proper conductor track.
    ReadStatus RequireMeter() const {
        if (state_.meter.ticksPerMeasure == 0) {
            return ReadStatus::Fail("!No Time Signature found before the first note.");
        }
        return ReadStatus::Ok();
    }

    // The measure of the current tick, or a failure when the song has run past the measure
    // table (a far note-off included, so it cannot make the loader write thousands of measures).
    ReadStatus LocateEvent(MeasureIndex& measure) {
        const Tick m = state_.songTick / state_.meter.ticksPerMeasure;
        if (m >= kMaxMeasures) {
            return ReadStatus::Fail("Out of memory. The input song has too many measures.");
        }
        measure = static_cast<MeasureIndex>(m);
        state_.lastEventMeasure = measure;
        return ReadStatus::Ok();
    }

    std::int16_t PositionIn(MeasureIndex measure) const {
        const Tick quantised = state_.songTick / kGridTicks * kGridTicks;
        const Tick offset = quantised - Tick{measure} * state_.meter.ticksPerMeasure;
        return static_cast<std::int16_t>(
            state_.quantMode == QuantMode::kTick ? offset : offset / kGridTicks);
    }

    ReadStatus EnterMeasure(MeasureIndex measure) {
        if (measure > state_.curMeasure) {
            if (auto s = sink_.FlushMeasure(state_, measure); !s.ok) return s;
            state_.curMeasure = measure;
        }
        return ReadStatus::Ok();
    }

    ReadStatus Append(const CurNote& note) {
        CurNoteList& list = state_.curNotes;
        list.entries[static_cast<std::size_t>(list.count)] = note;
        if (list.count >= kMaxMeasureNotes) {
            char text[64];
            std::snprintf(text, sizeof text, "Measure %03d error: Too many notes %d\n",
                          state_.curMeasure, list.count);
            return ReadStatus::Fail(text);
        }
        ++list.count;
        return ReadStatus::Ok();
    }

    ReadStatus NoteOnStep(const NoteEvent& on) {
        if (auto s = RequireMeter(); !s.ok) return s;
        if (auto s = ReplayBarLineOffs(); !s.ok) return s;
        const Tick perMeasure = state_.meter.ticksPerMeasure;
        if (sink_.CountsBeatHistogram()) {
            const Tick slot = state_.songTick % perMeasure / kBeatSlotTicks;
            if (slot < kBeatSlots) ++state_.btHistogram[static_cast<std::size_t>(slot)];
        }
        if (auto s = sink_.OnNoteOn(state_, on.key); !s.ok) return s;
        MeasureIndex m = 0;
        if (auto s = LocateEvent(m); !s.ok) return s;

        auto& slots = state_.measureNoteTable[static_cast<std::size_t>(m)];
        MeasureNote* free = nullptr;
        for (auto& slot : slots) {
            if (slot.note == 0) {
                free = &slot;
                break;
            }
        }
        if (free == nullptr) {
            return ReadStatus::Fail(
                "Out of memory. The input song has too many notes in a measure.");
        }
        *free = {static_cast<std::int16_t>(on.key),
                 static_cast<std::int32_t>(state_.songTick % perMeasure), 0};
        state_.songKeySign = state_.currentKeySign;

        const std::int16_t position = PositionIn(m);
        if (auto s = EnterMeasure(m); !s.ok) return s;
        CurNote note;
        note.start = position;
        note.note = static_cast<std::int16_t>(on.key);
        note.velocity = static_cast<std::int16_t>(on.velocity);
        return Append(note);
    }

    ReadStatus NoteOffStep(const NoteEvent& off) {
        if (auto s = RequireMeter(); !s.ok) return s;
        if (auto s = sink_.OnNoteOff(state_, off.key); !s.ok) return s;
        // A note-off on the first step of a measure not yet opened would open a measure that
        // holds nothing but note-offs when no note follows: it is held back until something
        // else comes (and dropped when nothing does).
        const Tick perMeasure = state_.meter.ticksPerMeasure;
        const Tick measure = state_.songTick / perMeasure;
        const bool onBarLine = state_.songTick / kGridTicks * kGridTicks == measure * perMeasure;
        if (onBarLine && measure > state_.curMeasure &&
            (barLineOffs_.empty() || barLineOffs_.front().measure == measure)) {
            barLineOffs_.push_back({off.key, state_.songTick, measure});
            return ReadStatus::Ok();
        }
        if (auto s = ReplayBarLineOffs(); !s.ok) return s;
        return CollectNoteOff(off.key);
    }

    // The measure collection's part of a note-off.
    ReadStatus CollectNoteOff(int key) {
        const NoteEvent off{key, 0};
        MeasureIndex m = 0;
        if (auto s = LocateEvent(m); !s.ok) return s;
        const auto offset =
            static_cast<std::int32_t>(state_.songTick % state_.meter.ticksPerMeasure);
        auto& slots = state_.measureNoteTable[static_cast<std::size_t>(m)];
        MeasureNote* open = nullptr;
        for (auto& slot : slots) {
            if (slot.note == off.key && slot.offOffset == 0) {
                open = &slot;
                break;
            }
        }
        if (open != nullptr) {
            open->offOffset = offset;
        } else {
            for (auto& slot : slots) {
                if (slot.note == 0) {
                    slot = {static_cast<std::int16_t>(off.key), 0, offset};
                    break;
                }
            }
        }

        const std::int16_t position = PositionIn(m);
        if (auto s = EnterMeasure(m); !s.ok) return s;
        CurNoteList& list = state_.curNotes;
        for (int i = 0; i < list.count; ++i) {
            CurNote& entry = list.entries[static_cast<std::size_t>(i)];
            if (entry.end == -1 && entry.note == off.key) {
                entry.end = position;
                return ReadStatus::Ok();
            }
        }
        CurNote note;
        note.end = position;
        note.note = static_cast<std::int16_t>(off.key);
        note.velocity = 0;
        return Append(note);
    }

    // A note-off held back on a bar line, with its tick and measure.
    struct BarLineOff {
        int key = 0;
        Tick songTick = 0;
        Tick measure = 0;
    };

    ByteCursor in_;
    SongState& state_;
    MeasureSink& sink_;
    std::vector<BarLineOff> barLineOffs_;
    ReadStatus failure_;
    bool stopReading_ = false;
};

}  // namespace

void ResetMeasureNotes(CurNoteList& list) {
    for (auto& entry : list.entries) entry = CurNote{};
    list.count = 0;
}

bool HasPendingNotes(const CurNoteList& list) {
    for (int i = 0; i < list.count; ++i) {
        const CurNote& entry = list.entries[static_cast<std::size_t>(i)];
        if (entry.start >= 0 || entry.end >= 0) return true;
    }
    return false;
}

int FoldToMiddleOctave(int note) {
    while (note < 60) note += 12;
    while (note > 71) note -= 12;
    return note;
}

ReadStatus ReadSong(std::span<const std::uint8_t> song, SongState& state, MeasureSink& sink) {
    return SongReader(song, state, sink).Run();
}

}  // namespace worker
