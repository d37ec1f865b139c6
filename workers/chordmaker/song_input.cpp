#include "workers/chordmaker/song_input.h"

#include "formats/key_table.h"
#include "workers/chordmaker/error_text.h"
#include "workers/chordmaker/text_scan.h"

namespace chordmaker {

namespace {

struct NoteName {
    std::string_view name;
    char pitchCode;
    int cdKet;
};

constexpr std::array<NoteName, 21> kNoteNames = {{
    {"A", '9', 10},  {"A#", 'A', 11}, {"Ab", '8', 9}, {"B", 'B', 12},  {"B#", '0', 1},
    {"Bb", 'A', 11}, {"C", '0', 1},   {"C#", '1', 2}, {"Cb", 'B', 12}, {"D", '2', 3},
    {"D#", '3', 4},  {"Db", '1', 2},  {"E", '4', 5},  {"E#", '5', 6},  {"Eb", '3', 4},
    {"F", '5', 6},   {"F#", '6', 7},  {"Fb", '4', 5}, {"G", '7', 8},   {"G#", '8', 9},
    {"Gb", '6', 7},
}};

constexpr int kMaxNoteNameLength = 2;
constexpr int kMaxAccidentals = 7;
constexpr int kMaxFlats = 6;
constexpr int kLowestCountedNote = 60;

const NoteName* FindNoteName(std::string_view name) {
    for (const NoteName& entry : kNoteNames) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

// The key code of a key signature and last note, or -1.
int FindKeyCode(int accidentals, bool sharps, int pitchCode) {
    if (accidentals == 0) {
        if (pitchCode == '0') return 0;
        if (pitchCode == '9') return 1;
    }
    for (int code = 0; code < formats::kKeyCount; ++code) {
        const formats::KeyRec& rec = formats::KeyRecTable[code];
        if (rec.accidentals == accidentals && (rec.sharps != 0) == sharps &&
            rec.tonicPitchCode == pitchCode) {
            return code;
        }
    }
    return -1;
}

// One half's note list: names split at ',' and ';'; the first one is the main note.
bool ReadHalfNotes(std::string_view list, HalfMeasureInput& half, std::string& log) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(",;", start);
        if (end == std::string_view::npos) end = list.size();
        if (end > start) names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    if (names.empty()) return true;
    for (const std::string_view name : names) {
        if (name.size() > kMaxNoteNameLength) {
            log += "\nError: One Note must be maximum 2-characters long.\n";
            return false;
        }
    }
    const NoteName* note = FindNoteName(names.front());
    if (note == nullptr) {
        log += "\nError GetNote_s.\n";
        return false;
    }
    if (names.size() > 1) log += "\nWarning: Too many Notes, only first will be used.";
    half.mainName = std::string(note->name);
    half.mainNote = note->cdKet - 1;
    return true;
}

// Temps2.aco: "%03d;%02d;%03d;%02d;%03d" gives the positions and the pitch-class count.
void ReadTemps2Line(LineReader& temps2, HalfMeasureInput& first, HalfMeasureInput& second) {
    std::string line;
    if (!temps2.GetLine(line)) return;
    FieldScanner scan(line);
    std::int32_t firstNote = 0, firstPosition = 0, secondNote = 0, secondPosition = 0, count = 0;
    if (!scan.Int(3, firstNote) || !scan.Literal(';')) return;
    if (!scan.Int(2, firstPosition)) return;
    first.mainPosition = firstPosition;
    if (!scan.Literal(';') || !scan.Int(3, secondNote) || !scan.Literal(';')) return;
    if (!scan.Int(2, secondPosition)) return;
    second.mainPosition = secondPosition;
    if (!scan.Literal(';') || !scan.Int(3, count)) return;
    first.pitchClassCount = count;
    second.pitchClassCount = count;
}

}  // namespace

int NoteNameToPitch(std::string_view name) {
    const NoteName* note = FindNoteName(name);
    return note != nullptr ? note->pitchCode : -1;
}

int NoteNameToCdKet(std::string_view name) {
    const NoteName* note = FindNoteName(name);
    return note != nullptr ? note->cdKet : -1;
}

bool ReadSongHeader(std::string_view line, std::string& log) {
    FieldScanner scan(line);
    std::int32_t accidentals = 0;
    if (!scan.Int(0, accidentals)) {
        log += "\nSoDau Error.\n";
        return false;
    }
    const std::size_t first = line.find(',');
    if (first == std::string_view::npos) {
        log += "\nFirst ',' not found.";
        return false;
    }
    const std::size_t second = line.find(',', first + 1);
    if (second == std::string_view::npos) {
        log += "\nSecond ',' not found.";
        return false;
    }
    const char sign = first + 1 < second ? line[first + 1] : '\0';
    if (sign != '+' && sign != '-') {
        log += "\n+/- not found.";
        return false;
    }
    const bool sharps = sign == '+';
    const std::size_t third = line.find(',', second + 1);
    if (third == std::string_view::npos) {
        log += "\nThird ',' not found.";
        return false;
    }
    const NoteName* noteEnd = FindNoteName(line.substr(second + 1, third - second - 1));
    if (noteEnd == nullptr) {
        log += "\nInvalid Note End.";
        return false;
    }
    if (accidentals > kMaxAccidentals || (!sharps && accidentals > kMaxFlats)) {
        log += "Cannot work with this Key Signature\nPlease transpose your song into another Key.";
        return false;
    }
    if (FindKeyCode(accidentals, sharps, noteEnd->pitchCode) < 0) {
        log += "Cannot understand this song!\nVerify 'Key Signature' and 'Last Note' in the song.";
        return false;
    }

    const std::string_view rest = line.substr(third + 1);
    if (rest.empty()) {
        log += "\nTsNhipT not found.";
        return false;
    }
    const std::int64_t measures = LeadingNumber(rest);
    if (measures <= 0) {
        log += Format("\nInvalid TsNhipT %lld", static_cast<long long>(measures));
        return false;
    }
    if (measures > kMaxMeasures) {
        log += Format("Out of memory. The input song has too many measures: %lld.",
                      static_cast<long long>(measures));
        return false;
    }

    std::size_t comma = third;
    for (int i = 0; i < 2 && comma != std::string_view::npos; ++i)
        comma = line.find(',', comma + 1);
    const char meter =
        comma != std::string_view::npos && comma + 1 < line.size() ? line[comma + 1] : '\0';
    if (meter == '\0') {
        log += "\nCannot find the Timesignature in the input data file.";
        return false;
    }
    if (meter != '2' && meter != '3' && meter != '4' && meter != '6') {
        log += "\nInvalid Timesignature in the input data file.";
        return false;
    }
    return true;
}

bool ReadMeasureFiles(std::span<const std::uint8_t> notesAco, std::span<const std::uint8_t> temps2,
                      SongInput& song, std::string& log) {
    song = SongInput{};
    LineReader notes(notesAco);
    std::string line;
    if (notes.GetLine(line) && !ReadSongHeader(line, log)) return false;

    // The tables hold kMaxMeasures measures: a longer song is refused before anything is stored.
    LineReader counter = notes;
    int lines = 0;
    while (counter.GetLine(line)) ++lines;
    if (lines > kMaxMeasures) {
        log += Format("Out of memory. The input song has too many measures: %d.", lines);
        return false;
    }

    LineReader stats(temps2);
    song.halves.reserve(static_cast<std::size_t>(lines) * 2);
    while (notes.GetLine(line)) {
        HalfMeasureInput first, second;
        ReadTemps2Line(stats, first, second);
        const std::size_t split = line.find(';');
        const std::string_view text(line);
        const std::string_view firstList = text.substr(0, split);
        const std::string_view secondList =
            split == std::string_view::npos ? std::string_view() : text.substr(split + 1);
        if (!ReadHalfNotes(firstList, first, log) || !ReadHalfNotes(secondList, second, log)) {
            return false;
        }
        song.halves.push_back(std::move(first));
        song.halves.push_back(std::move(second));
    }
    return true;
}

void ReadNotesDat(std::span<const std::uint8_t> notesDat, SongInput& song) {
    LineReader lines(notesDat, 0);
    std::string line;
    for (HalfMeasureInput& half : song.halves) {
        half.notes.fill(0);
        half.profile = NoteProfile{};
        if (!lines.GetLine(line)) continue;
        FieldScanner scan(line);
        for (int place = 0; place < kNotesPerHalf; ++place) {
            std::int32_t value = 0;
            if (!scan.Int(3, value)) break;
            half.notes[place] = value;
            if (!scan.Literal(';')) break;
        }
        for (const int value : half.notes) {
            if (value >= 1 && value <= 127) song.songPitchClasses[value % kPitchClasses] = true;
            if (value >= kLowestCountedNote) {
                ++half.profile.counted;
                const int pitchClass = value - kLowestCountedNote;
                if (pitchClass < kPitchClasses) ++half.profile.perClass[pitchClass];
            }
        }
    }
}

}  // namespace chordmaker
