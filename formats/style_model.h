// A style as its author sees it: the header text, the file's code and version, and up to five
// tracks, each with its channel line values and its modes of step rows. The text reader, the
// .sty writer and the .sty decoder all meet in this model; the limits here are the ones the
// composer's style loader and the front end's style readers hold a style file to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

constexpr int kMaxTracks = 5;
constexpr int kMaxModes = 16;        // modes 0 to 15 of a block
constexpr int kCellColumns = 16;     // cells per step row
constexpr int kMaxRowsPerMode = 48;  // the block table's rows
constexpr int kDrumChannel = 9;
constexpr int kMaxLineBytes = 299;     // a decoded line, its line end included
constexpr int kMaxTextLength = 40;     // the front end keeps 40 characters of a record's text
constexpr int kRecordSpacing = 768;    // the front end looks for the next record this far on
constexpr int kMaxNoteLength = 99;     // a cell's extra field holds two digits
constexpr int kMaxCellField = 999;     // note and velocity fields hold three digits
constexpr int kFirstLateVersion = 30;  // versions from here are not checked for balanced cells
constexpr int kFirstNewVersion = 31;   // versions from here take a mode's slope by position
constexpr int kFirstTwelveStepVersion = 10;
constexpr std::int64_t kExtraThreshold = 1000000;  // stored values from here carry an extra field

enum class TimeSignature { k2_4, k3_4, k4_4, k6_8 };

std::string_view TimeSignatureName(TimeSignature ts);
std::optional<TimeSignature> TimeSignatureFromName(std::string_view name);

int StepsPerQuarter(int version);
int MaxTickOffset(int version);
int LinesPerMeasure(TimeSignature ts, int version);

// One cell of a step row as the composer holds it: the whole value and the extra field (the
// note length). The whole value packs offset, cell velocity and note as
// offset x 1000000 + velocity x 1000 + note; a negative value releases the note of its magnitude.
struct Cell {
    std::int64_t whole = 0;
    int extra = 0;

    bool empty() const { return whole == 0 && extra == 0; }
    std::int64_t magnitude() const { return whole < 0 ? -whole : whole; }
    int note() const { return static_cast<int>(magnitude() % 1000); }
    int velocity() const { return static_cast<int>(magnitude() % kExtraThreshold / 1000); }
    std::int64_t offset() const { return magnitude() / kExtraThreshold; }
    // The value written into the style data: whole x 100 + extra when an extra field or an
    // offset has to be carried, else the whole value itself.
    std::int64_t StoredValue() const;
    // The inverse of StoredValue for a value read back; the reading the composer applies.
    static Cell FromStoredValue(double value);

    friend bool operator==(const Cell&, const Cell&) = default;
};

using StepRow = std::array<Cell, kCellColumns>;

struct Mode {
    int index = 0;   // position in the block, 0 to 15
    int number = 0;  // the mode line's ModNo (equal to the index unless read otherwise)
    int slope = 0;   // the mode line's VelHs; mode 0 has no mode line and keeps 0
    std::vector<StepRow> rows;
    int line = 0;  // description line of the "mode" statement, 0 when decoded
    std::array<int, kCellColumns> laneLines{};  // description line of each lane, 0 if none

    bool HasCells() const;
    friend bool operator==(const Mode& a, const Mode& b) {
        return a.index == b.index && a.number == b.number && a.slope == b.slope && a.rows == b.rows;
    }
};

// Program, volume, pan and effect of a track for one kind of part.
struct PartSound {
    int program = 0;
    int volume = 100;
    int pan = 64;
    int effect = 0;
    friend bool operator==(const PartSound&, const PartSound&) = default;
};

struct Track {
    std::string name;  // the record's text (the first track carries the header instead)
    int channel = -1;
    int base = 0;             // PartStyleValue: added to every note of the track
    PartSound chord;          // used when the part plays in ChannelMode 0
    PartSound pattern;        // used in ChannelMode 1, 2 and 3
    int sustain = 0;          // pUseSust
    int styleFlag1 = 0;       // StyleFlag1
    int registerRule = 0;     // PartTensValue
    int registerTight = 0;    // PartTensFlag
    int playMode = 0;         // the front end's default play mode (units digit of the code)
    std::vector<Mode> modes;  // modes 0 to n - 1 in order
    int line = 0;

    // Value 11 of the channel line (field 12 of the front end's record).
    int ModeCode() const;
    friend bool operator==(const Track& a, const Track& b) {
        return a.name == b.name && a.channel == b.channel && a.base == b.base &&
               a.chord == b.chord && a.pattern == b.pattern && a.sustain == b.sustain &&
               a.styleFlag1 == b.styleFlag1 && a.registerRule == b.registerRule &&
               a.registerTight == b.registerTight && a.playMode == b.playMode && a.modes == b.modes;
    }
};

struct Style {
    std::string header;  // "Label: 4/4 Name", the text the front end lists
    std::string code;    // four characters of the file name
    int version = -1;    // two digits of the file name
    TimeSignature timeSignature = TimeSignature::k4_4;  // taken from the header
    std::vector<Track> tracks;

    std::string FileName() const;  // code, version in two digits, ".sty"
    friend bool operator==(const Style& a, const Style& b) {
        return a.header == b.header && a.code == b.code && a.version == b.version &&
               a.timeSignature == b.timeSignature && a.tracks == b.tracks;
    }
};

// The outcome of reading, checking or writing: empty message means success. The message is the
// reason, with "line N: " in front when it belongs to a line of a description.
struct Problem {
    int line = 0;
    std::string message;
    std::string Text() const;
};

// A value or the problem that kept it from being made.
template <typename T>
struct Result {
    std::optional<T> value;
    Problem problem;

    bool ok() const { return value.has_value(); }
    static Result Fail(Problem p) { return Result{std::nullopt, std::move(p)}; }
};

// The front end's reading of a header text: the time signature, or the reason it refuses it
// ("No <:> mark found in header.", "empty header.", "Invalid timesignature.").
struct HeaderScan {
    std::optional<TimeSignature> timeSignature;
    std::string error;
};
HeaderScan ScanHeaderText(std::string_view header);

// The version a style file name carries ("Demo31.sty" gives 31), or nullopt when the name is
// not four code characters, two digits and ".sty".
std::optional<int> VersionFromFileName(std::string_view fileName);

// Checks every rule of both readers that a complete model can break; the first problem found.
std::optional<Problem> CheckStyle(const Style& style);

}  // namespace formats
