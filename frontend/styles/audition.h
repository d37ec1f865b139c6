// The instrument audition: a rising scale of eight notes on one part's channel with its chosen
// program, pan and volume, one note every 200 ms, silenced and closed 3 s after the start or
// when the user lets go. This is the sound side; the main window's timer and mouse events drive
// it. AllNotesOff is the program's silencing of the output (also sent at shutdown through the
// audition's handle).
#pragma once

#include <cstdint>

#include "platform/qt/midi_out.h"

namespace corvane::styles {

constexpr int kAuditionStepMs = 200;
// Timer steps until the output is closed: 15 steps of 200 ms give 3 s.
constexpr int kAuditionLastTick = 14;
constexpr int kAuditionVelocity = 120;
constexpr int kAuditionDefaultVolume = 100;

struct AuditionState {
    platform::qt::MidiOutHandle handle = 0;
    std::uint8_t channel = 0;
    std::uint8_t tick = 0;
    std::int32_t noteOffset = 0;       // the style track's note base
    std::int32_t drumNoteOffset = 17;  // subtracted on the drum channel
};

struct AuditionRequest {
    int program = 0;   // 1..128
    int channel = 0;   // the style track's channel, 9 for drums
    int noteBase = 0;  // the style track's note base
    int pan = 0;       // the style track's pan; 0 plays at the centre
    int volume = 0;    // the part's volume; 0 (the style's own) plays at 100
};

// Note k (0..7) of the scale on the audition's channel.
int AuditionNote(const AuditionState& state, int k);

// Opens the output and sends the program, pan, pedal release, volume and the first note. False
// when the output does not open: then nothing was sent and nothing is to be stopped.
bool StartAudition(AuditionState& state, const AuditionRequest& request);

// One timer step: the next note while the scale lasts, then the last note rings. False once the
// audition has run its time; the caller then stops its timer and calls StopAudition.
bool StepAudition(AuditionState& state);

// All notes off, also on the audition's own channel when AllNotesOff does not reach it (a
// sustaining instrument would sound on), then the output closed.
void StopAudition(AuditionState& state);

// Control change 123 on channels 1, 2, 3, 4 and 9 (counted from 0) through `handle`.
void AllNotesOff(platform::qt::MidiOutHandle handle);
bool AllNotesOffReaches(int channel);

}  // namespace corvane::styles
