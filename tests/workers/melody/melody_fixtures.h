// Fixtures of the melody importer's tests: the readable hex sources and expected songs beside
// the tests, a small builder of MIDI bytes for one-off cases, and a reader of the events of a
// written song so that tests can state what they expect in ticks and bytes.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "workers/melody/melody_job.h"

namespace melodytest {

using Bytes = std::vector<std::uint8_t>;

// The bytes of fixtures/<name> (readable hex text).
Bytes FixtureBytes(const std::string& name);
// The text of fixtures/<name> as it stands.
std::string FixtureText(const std::string& name);

// "MThd" with the given format, track count and division.
Bytes MidiHeader(int format, int tracks, int division);
// "MTrk", the length of `events`, then `events`.
Bytes MidiTrack(const Bytes& events);
Bytes Concat(std::initializer_list<Bytes> parts);

// One event of a song track, with its absolute tick.
struct SongEvent {
    std::int64_t tick = 0;
    Bytes bytes;  // status and data, or FF type and data for a meta event
    bool operator==(const SongEvent&) const = default;
};
void PrintTo(const SongEvent& event, std::ostream* out);
// The track chunks of a song whose events all carry their status byte; fails the test (and
// returns what it has) on a malformed track.
std::vector<std::vector<SongEvent>> SongTracks(const Bytes& song);

// Turns "\r\n" into "\n".
std::string WithoutCarriageReturns(std::string text);

// The command line for a job, with a correct sum unless `sumError` is given.
std::string QuenbyCommandLine(const melody::MelodyJob& job, std::uint32_t handle, int runMode,
                              std::int32_t sumError = 0);

}  // namespace melodytest
