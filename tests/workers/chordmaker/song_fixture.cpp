#include "tests/workers/chordmaker/song_fixture.h"

#include <cstdio>
#include <set>
#include <stdexcept>

#include "formats/key_table.h"

namespace chordmaker::testing {

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string HalfLine(const std::vector<int>& notes) {
    if (notes.empty()) return "000;\r\n";
    std::string line;
    char field[16];
    for (const int note : notes) {
        std::snprintf(field, sizeof field, "%03d;", note);
        line += field;
    }
    return line + "\r\n";
}

}  // namespace

int PitchOfName(const std::string& name) {
    if (name.empty()) return 0;
    const int cdKet = NoteNameToCdKet(name);
    if (cdKet < 0) throw std::invalid_argument("not a note name: " + name);
    return 59 + cdKet;
}

SongFiles MakeSongFiles(const std::string& header, const std::vector<MeasureSpec>& measures) {
    SongFiles files;
    files.notesAco = header + "\r\n";
    char line[64];
    for (const MeasureSpec& m : measures) {
        files.notesAco += m.first + ";" + m.second + "\r\n";
        std::vector<int> first = m.firstNotes;
        std::vector<int> second = m.secondNotes;
        if (first.empty() && !m.first.empty()) first.push_back(PitchOfName(m.first));
        if (second.empty() && !m.second.empty()) second.push_back(PitchOfName(m.second));
        std::set<int> classes;
        for (const int note : first) classes.insert(note % 12);
        for (const int note : second) classes.insert(note % 12);
        std::snprintf(line, sizeof line, "%03d;%02d;%03d;%02d;%03d;%03d\r\n", PitchOfName(m.first),
                      m.first.empty() ? 0 : m.firstPosition, PitchOfName(m.second),
                      m.second.empty() ? 0 : m.secondPosition, static_cast<int>(classes.size()),
                      100);
        files.temps2 += line;
        files.notesDat += HalfLine(first) + HalfLine(second);
    }
    return files;
}

SongInput LoadSong(const SongFiles& files) {
    SongInput song;
    std::string log;
    if (!ReadMeasureFiles(Bytes(files.notesAco), Bytes(files.temps2), song, log)) {
        throw std::runtime_error("fixture song does not read: " + log);
    }
    ReadNotesDat(Bytes(files.notesDat), song);
    return song;
}

std::string KeyLine(int measure, int keyCode) {
    char line[32];
    std::snprintf(line, sizeof line, "%03d:%02d;%s\r\n", measure, keyCode,
                  std::string(formats::KeyNameTable[keyCode]).c_str());
    return line;
}

}  // namespace chordmaker::testing
