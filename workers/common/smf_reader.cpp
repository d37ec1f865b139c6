#include "workers/common/smf_reader.h"

#include <optional>
#include <string_view>
#include <vector>

#include "workers/common/smf_events.h"

namespace worker {
namespace {

constexpr std::size_t kHeaderSize = 14;

// A cursor over the header bytes; a read past the end of the file answers no.
class ByteCursor {
  public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    std::optional<std::uint8_t> Next() {
        if (pos_ >= bytes_.size()) return std::nullopt;
        return bytes_[pos_++];
    }
    void Skip(std::size_t count) {
        pos_ = count > bytes_.size() - pos_ ? bytes_.size() : pos_ + count;
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

struct NoteEvent {
    int key = 0;
    int velocity = 0;
};

void SetMeter(MeterState& meter, int beats, const char* text, int split, int splitTriple) {
    meter.beatsPerMeasure = beats;
    meter.meterText = text;
    meter.quantSplit = split;
    meter.quantSplitTriple = splitTriple;
    meter.ticksPerMeasure = Tick{kTicksPerQuarter} * beats;
    meter.halfMeasure = meter.ticksPerMeasure / 2;
    meter.twoThirdsMeasure = meter.ticksPerMeasure * 2 / 3;
}

class SongReader {
  public:
    SongReader(std::span<const std::uint8_t> song, SongState& state, MeasureSink& sink)
        : song_(song), state_(state), sink_(sink) {}

    ReadStatus Run() {
        ByteCursor in(song_);
        // A header cut short is no MIDI file either; its format and division are not there.
        if (!in.Match(midi::kHeaderChunkTag) || in.size() < kHeaderSize) {
            return ReadStatus::Fail("No MThd Found. The input file is not a valid Midi File.");
        }
        int division = 0;
        if (auto status = GetDivision(in, division); !status.ok) return status;
        if (division != kTicksPerQuarter) return ReadStatus::Fail("!Unsupported Division Value.");
        return ReadingLoop();
    }

  private:
    static ReadStatus GetDivision(ByteCursor& in, int& division) {
        auto byte = [&]() { return in.Next().value_or(0); };
        in.Skip(4);
        const int format = byte() << 8 | byte();
        in.Skip(2);
        division = byte() << 8 | byte();
        if (format == 0) return ReadStatus::Fail("!Unsupported file format.");
        if (format != 1) return ReadStatus::Fail("Unsupported file format.");
        return ReadStatus::Ok();
    }

    ReadStatus ReadingLoop() {
        state_.songTick = 0;
        ResetMeasureNotes(state_.curNotes);
        SongEventWalker walker(song_, kHeaderSize);
        for (;;) {
            SmfEvent event;
            const SmfStep step = walker.Next(event);
            state_.songTick += event.delta;
            switch (step) {
                case SmfStep::kTrack:
                    // Only the conductor chunk and the melody chunk are read. Notes of the next
                    // chunk would come after the held-back note-offs: they count as read here.
                    if (walker.track() < 3) {
                        if (auto s = ReplayBarLineOffs(); !s.ok) return s;
                    }
                    if (auto s = FlushPending(); !s.ok) return s;
                    if (walker.track() == 3) return FlushPending();
                    state_.curNotes.count = 0;
                    state_.songTick = 0;
                    break;
                case SmfStep::kEvent:
                    if (auto s = TakeEvent(event); !s.ok) return s;
                    break;
                case SmfStep::kEnd:
                    return FlushPending();
                case SmfStep::kNoTrack:
                    return ReadStatus::Fail("No Track Found.");
                case SmfStep::kDeltaTooLong:
                    return ReadStatus::Fail("Error: Common GetDtTime M.");
                case SmfStep::kLengthTooLong:
                    return ReadStatus::Fail("Error: Common GetDtTime.");
                case SmfStep::kSysExCut:
                    return ReadStatus::Fail("Error found in System Exclusive Mess");
                case SmfStep::kInvalidEvent:
                    return ReadStatus::Fail("!Found an Invalid Event.");
            }
        }
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

    ReadStatus TakeEvent(const SmfEvent& event) {
        switch (event.kind) {
            case SmfEventKind::kNoteOn:
                return NoteOnStep({event.data[0], event.data[1]});
            case SmfEventKind::kNoteOff:
                return NoteOffStep({event.data[0], event.data[1]});
            case SmfEventKind::kMeta:
                return TakeMetaEvent(event);
            default:
                // System exclusive data and the other channel events are passed over.
                return ReadStatus::Ok();
        }
    }

    // The time signature, key signature and tempo are read where their length is the one byte
    // their size takes; any other meta event is passed over.
    ReadStatus TakeMetaEvent(const SmfEvent& event) {
        if (!event.oneByteLength) return ReadStatus::Ok();
        const auto d = event.data;
        if (event.metaType == midi::kMetaTimeSignature && d.size() == 4) {
            return ReadTimeSignature(d[0], d[1], d[2], d[3]);
        }
        if (event.metaType == midi::kMetaKeySignature && d.size() == 2) {
            state_.currentKeySign = static_cast<std::int8_t>(d[0]);
        } else if (event.metaType == midi::kMetaTempo && d.size() == 3) {
            const std::int32_t tempo = d[0] << 16 | d[1] << 8 | d[2];
            if (tempo < 1) return ReadStatus::Fail("!Cannot get Tempo of the song.");
            if (state_.songTempoBpm == 0) state_.songTempoBpm = 60000000 / tempo;
        }
        return ReadStatus::Ok();
    }

    ReadStatus ReadTimeSignature(int nn, int dd, int clocks, int per32) {
        if (clocks != 96 || per32 != 8) return ReadStatus::Fail("!Unsupported Time Signature.");
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
            return ReadStatus::Fail("!Unsupported Time Signature.");
        }
        return ReadStatus::Ok();
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

    std::span<const std::uint8_t> song_;
    SongState& state_;
    MeasureSink& sink_;
    std::vector<BarLineOff> barLineOffs_;
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
