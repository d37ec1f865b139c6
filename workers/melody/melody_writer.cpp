#include "workers/melody/melody_writer.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace melody {

namespace {

constexpr std::uint8_t kClosingNoteVelocity = 5;
constexpr Tick kClosingNoteGap = 96;
constexpr Tick kClosingNoteLength = 96;
constexpr std::uint8_t kMaxVelocity = 127;
constexpr int kPitchFoldLow = 60;
constexpr int kPitchFoldHigh = 71;
// Ticks this large cannot give a delta time anyway; the cap keeps the rescaling in range.
constexpr Tick kTickCap = 1'000'000'000'000'000;

void SkipBlanks(std::string_view line, std::size_t& at) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
}

bool ScanDecimal(std::string_view line, std::size_t& at, std::int64_t& value) {
    SkipBlanks(line, at);
    bool negative = false;
    if (at < line.size() && (line[at] == '+' || line[at] == '-')) {
        negative = line[at] == '-';
        ++at;
    }
    const std::size_t digitsAt = at;
    std::int64_t magnitude = 0;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
        magnitude = std::min(magnitude * 10 + (line[at] - '0'), kTickCap);
    }
    if (at == digitsAt) return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// At most two hex digits, as the lines hold bytes.
bool ScanHexByte(std::string_view line, std::size_t& at, std::uint8_t& value) {
    SkipBlanks(line, at);
    int result = 0;
    int digits = 0;
    for (; digits < 2 && at < line.size() && HexDigit(line[at]) >= 0; ++digits, ++at) {
        result = result * 16 + HexDigit(line[at]);
    }
    if (digits == 0) return false;
    value = static_cast<std::uint8_t>(result);
    return true;
}

bool ScanLiteral(std::string_view line, std::size_t& at, char literal) {
    if (at >= line.size() || line[at] != literal) return false;
    ++at;
    return true;
}

// Calls `handle` for each line of `text` (CR LF or LF ends), the last one only if non-empty.
void ForEachLine(std::string_view text, const std::function<bool(std::string_view)>& handle) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!handle(line)) return;
        start = next;
    }
}

int FoldPitch(int pitch) {
    while (pitch < kPitchFoldLow) pitch += 12;
    while (pitch > kPitchFoldHigh) pitch -= 12;
    return pitch;
}

class MelodyWriter {
  public:
    MelodyWriter(const MelodyJob& job, int division) : job_(job), division_(division) {
        quarters_ = QuartersPerMeasure(job.beatsCode);
        leadIn_ = Tick{quarters_} * kSongDivision * job.introMeasures;
        velocityFactor_ = static_cast<float>(job.velPercent / 100.0);
    }

    SongOutcome Build(std::string_view tempoLines, std::string_view eventLines,
                      std::int32_t remainder) {
        AppendSongHeader(song_);
        {
            TrackBytes conductor = OpenConductorTrack(song_, job_.beatsCode, job_.tempoBpm);
            if (!WriteTempoLines(conductor, tempoLines)) return Finish();
            conductor.Close();
        }
        TrackBytes melody = OpenMelodyTrack(song_, job_.keySf);
        if (!WriteEventLines(melody, eventLines, remainder)) return Finish();
        // Without an event line the remainder was never looked at.
        if (remainder != 0) return Finish();
        if (!WriteClosingNote(melody)) return Finish();
        melody.Close();
        AppendClosingTrack(song_);
        outcome_.ok = true;
        outcome_.song = std::move(song_);
        return Finish();
    }

  private:
    SongOutcome Finish() { return std::move(outcome_); }

    Tick ConvertTick(Tick tick) const {
        // Exact integers, so a note on a bar line stays on it for every division.
        if (division_ != kSongDivision) tick = tick * kSongDivision / division_;
        return tick * job_.timeFactor;
    }

    // The delta to `tick` from the previous line written into the track; the lead-in goes
    // into the first delta of each track.
    bool AppendDeltaTo(TrackBytes& track, Tick tick, Tick& previous, bool& first, Tick* written) {
        const Tick delta = tick - previous + (first ? leadIn_ : 0);
        if (auto fault = track.AppendDelta(delta)) {
            outcome_.fatal = true;
            outcome_.message = *fault;
            return false;
        }
        if (written != nullptr) *written = delta;
        previous = tick;
        first = false;
        return true;
    }

    bool WriteTempoLines(TrackBytes& conductor, std::string_view text) {
        Tick previous = 0;
        bool first = true;
        bool firstLine = true;
        bool ok = true;
        ForEachLine(text, [&](std::string_view line) {
            const TempoLine tempo = ScanTempoLine(line);
            // The initial tempo comes from the command line; a first change at tick 0 is it.
            if (firstLine) {
                firstLine = false;
                if (tempo.fields == 2 && tempo.tick == 0) return true;
            }
            if (tempo.fields == 0) return true;
            if (tempo.fields != 2) {
                outcome_.message = "Invalid tempo data bytes.";
                ok = false;
                return false;
            }
            const Tick tick = ConvertTick(tempo.tick);
            if (!AppendDeltaTo(conductor, tick, previous, first, nullptr)) {
                ok = false;
                return false;
            }
            const auto bytes = TempoBytes(tempo.tempo * job_.timeFactor);
            conductor.Append({0xFF, 0x51, 0x03, bytes[0], bytes[1], bytes[2]});
            lastTempoTick_ = tick;
            return true;
        });
        return ok;
    }

    std::uint8_t ScaleVelocity(std::uint8_t velocity) const {
        const auto scaled =
            static_cast<std::int64_t>(static_cast<double>(velocity) * velocityFactor_);
        return static_cast<std::uint8_t>(std::clamp<std::int64_t>(scaled, 1, kMaxVelocity));
    }

    bool WriteEventLines(TrackBytes& melody, std::string_view text, std::int32_t remainder) {
        Tick previous = 0;
        bool first = true;
        bool ok = true;
        ForEachLine(text, [&](std::string_view line) {
            if (line.empty()) return true;
            EventLine event = ScanEventLine(line);
            // The song loader refuses key pressure, so it stays out of the song input.
            const bool dropped = event.fields >= 2 && (event.bytes[0] & 0xF0) == kKeyPressure;
            if (event.fields >= 2 && !dropped) {
                const std::uint8_t status = event.bytes[0];
                const Tick tick = ConvertTick(event.tick);
                Tick delta = 0;
                if (!AppendDeltaTo(melody, tick, previous, first, &delta)) {
                    ok = false;
                    return false;
                }
                melody.Append({status});
                lastStatus_ = status;
                if (event.fields >= 3) {
                    if (status == kNoteOn) {
                        lastNoteOnTick_ = tick;
                        lastNoteOnPitch_ = event.bytes[1];
                        lastNoteOnDeltaZero_ = delta == 0;
                    }
                    melody.Append({event.bytes[1]});
                }
                if (event.fields == 4) {
                    std::uint8_t data2 = event.bytes[2];
                    if (status == kNoteOn && velocityFactor_ != 1.0f) data2 = ScaleVelocity(data2);
                    if (status == kNoteOff && job_.noteOffZero == 1) data2 = 0;
                    melody.Append({data2});
                }
            }
            if (remainder != 0) {
                ok = false;
                return false;
            }
            return true;
        });
        return ok;
    }

    bool WriteClosingNote(TrackBytes& melody) {
        const int folded = FoldPitch(lastNoteOnPitch_);
        const bool endsOnTonic = job_.endingMeasures == 0 && !lastNoteOnDeltaZero_ &&
                                 folded == job_.tonicNote && lastStatus_ == kNoteOff &&
                                 lastNoteOnTick_ > lastTempoTick_;
        if (endsOnTonic) return true;
        const Tick tail = Tick{job_.endingMeasures} * quarters_ * kSongDivision + kClosingNoteGap;
        const Tick delta = std::max(tail, lastTempoTick_ + kClosingNoteGap - lastNoteOnTick_);
        if (auto fault = melody.AppendDelta(delta)) {
            outcome_.fatal = true;
            outcome_.message = *fault;
            return false;
        }
        const auto tonic = static_cast<std::uint8_t>(job_.tonicNote);
        melody.Append({kNoteOn, tonic, kClosingNoteVelocity});
        (void)melody.AppendDelta(kClosingNoteLength);
        melody.Append({kNoteOff, tonic, 0x00});
        return true;
    }

    const MelodyJob& job_;
    const int division_;
    int quarters_ = 4;
    Tick leadIn_ = 0;
    float velocityFactor_ = 1.0f;
    std::vector<std::uint8_t> song_;
    SongOutcome outcome_;
    Tick lastTempoTick_ = 0;
    Tick lastNoteOnTick_ = 0;
    int lastNoteOnPitch_ = 60;
    bool lastNoteOnDeltaZero_ = false;
    std::uint8_t lastStatus_ = 0;
};

}  // namespace

EventLine ScanEventLine(std::string_view line) {
    EventLine event;
    std::size_t at = 0;
    if (!ScanDecimal(line, at, event.tick)) return event;
    event.fields = 1;
    if (!ScanLiteral(line, at, ':')) return event;
    for (std::uint8_t& byte : event.bytes) {
        if (!ScanHexByte(line, at, byte)) return event;
        ++event.fields;
        if (!ScanLiteral(line, at, ',')) return event;
    }
    return event;
}

TempoLine ScanTempoLine(std::string_view line) {
    TempoLine tempo;
    std::size_t at = 0;
    if (!ScanDecimal(line, at, tempo.tick)) return tempo;
    tempo.fields = 1;
    if (!ScanLiteral(line, at, ':')) return tempo;
    if (!ScanDecimal(line, at, tempo.tempo)) return tempo;
    tempo.fields = 2;
    return tempo;
}

std::optional<std::string> InvalidDivisionMessage(int division) {
    if (division >= 1) return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "Invalid Division Value %d", division);
    return std::string(text);
}

SongOutcome BuildMelodySong(const MelodyJob& job, int division, std::string_view tempoLines,
                            std::string_view eventLines, std::int32_t remainder) {
    if (auto message = InvalidDivisionMessage(division)) {
        SongOutcome outcome;
        outcome.message = *message;
        return outcome;
    }
    return MelodyWriter(job, division).Build(tempoLines, eventLines, remainder);
}

}  // namespace melody
