// Test melodies for the key finding: notes written by name and length, one after the other,
// straight into a note list.
#pragma once

#include <memory>
#include <stdexcept>
#include <string_view>

#include "workers/keydetect/note_list.h"

namespace keydetect::testing {

constexpr Tick kQuarter = 384;
constexpr Tick kMeasure = 4 * kQuarter;  // 4/4

// The pitch class of a note name: "C", "C#", "Db" ... "B".
inline int ClassOf(std::string_view name) {
    static constexpr std::string_view kNames[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                                  "F#", "G",  "G#", "A",  "A#", "B"};
    static constexpr std::string_view kFlats[] = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                  "Gb", "G",  "Ab", "A",  "Bb", "B"};
    for (int pc = 0; pc < 12; ++pc) {
        if (kNames[pc] == name || kFlats[pc] == name) return pc;
    }
    throw std::invalid_argument("no such note name");
}

// The first `count` names of a space-separated list.
inline std::string_view FirstNames(std::string_view names, int count) {
    std::size_t end = 0;
    for (int i = 0; i < count && end != std::string_view::npos; ++i) {
        end = names.find(' ', end == 0 ? 0 : end + 1);
    }
    return end == std::string_view::npos ? names : names.substr(0, end);
}

class Melody {
  public:
    Melody() : list_(std::make_unique<NotOnList>()) {}

    // Appends a note of `length` ticks right after the previous one (in octave 4).
    Melody& Add(std::string_view name, Tick length = kQuarter) {
        return AddAt(tick_, 60 + ClassOf(name), length);
    }
    // Appends each name of a space-separated list with the same length.
    Melody& Run(std::string_view names, Tick length = kQuarter) {
        while (!names.empty()) {
            const std::size_t space = names.find(' ');
            const std::string_view name = names.substr(0, space);
            if (!name.empty()) Add(name, length);
            names = space == std::string_view::npos ? std::string_view{} : names.substr(space + 1);
        }
        return *this;
    }
    Melody& Rest(Tick length) {
        tick_ += length;
        return *this;
    }
    Melody& AddAt(Tick start, int note, Tick length) {
        if (!list_->RecordNoteOn(start, note)) throw std::length_error("note list full");
        list_->RecordNoteOff(start + length, note);
        tick_ = start + length;
        return *this;
    }

    Tick tick() const { return tick_; }
    const NotOnList& list() const { return *list_; }
    NoteStatistics Stats() const { return NoteStatistics(list_->notes()); }

  private:
    std::unique_ptr<NotOnList> list_;
    Tick tick_ = 0;
};

// Eight measures of quarter notes in G major, then eight in D major that open with its C#.
inline constexpr std::string_view kGMajorPart =
    "G D B G A G D C B G E D G F# G D B A D G C B G D E G D F# G B A G";
inline constexpr std::string_view kDMajorPart =
    "C# D A F# D A E D A B D F# A D G E D A F# B D A D E A D G A F# D B A";

}  // namespace keydetect::testing
