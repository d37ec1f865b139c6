// Seeded random melodies in every key and mode: whatever the engine chooses, the chord data must
// stay readable by the chord editor and the composer.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "formats/key_table.h"
#include "tests/workers/chordmaker/tressil_test_support.h"
#include "workers/chordmaker/chord_sheet.h"
#include "workers/chordmaker/run_key.h"

namespace chordmaker {
namespace {

// The chord editor's grammar for a chord text (the code with its dots removed).
bool CheckChordString(const std::string& text) {
    if (text.empty()) return true;
    auto has = [&](char c) { return text.find(c) != std::string::npos; };
    int digits = 0;
    for (const char d : {'6', '7', '9'}) digits += has(d) ? 1 : 0;
    if (digits > 1) return false;
    if ((has('s') || has('S')) && (has('m') || has('M'))) return false;
    if ((has('o') || has('O')) && (has('m') || has('M') || has('s') || has('+') || has('-'))) {
        return false;
    }
    for (const char sign : {'+', '-'}) {
        const std::size_t at = text.find(sign);
        if (at == std::string::npos) continue;
        for (std::size_t i = at + 1; i < text.size(); ++i) {
            if (text[i] != ' ') return false;
        }
    }
    if (std::string("CDEFGAB").find(text[0]) == std::string::npos) return false;
    const char* sets[] = {nullptr, "#bmMs679o+-", "mMs679o+-", "679o+-", "o+-"};
    for (std::size_t i = 1; i < text.size() && i < 5; ++i) {
        if (std::string(sets[i]).find(text[i]) == std::string::npos) return false;
    }
    std::string folded = text;
    for (char& c : folded) {
        if (c == 'O') c = 'o';
        if (c != 'o') c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (std::size_t i = 0; i < folded.size(); ++i) {
        for (std::size_t j = i + 1; j < folded.size(); ++j) {
            if (folded[i] == folded[j] && !(i == 0 && j == 1 && folded[i] == 'B')) return false;
        }
    }
    return true;
}

std::string CodeToText(const std::string& code) {
    std::string text;
    for (const char c : code) {
        if (c != '.') text += c;
    }
    return text;
}

// The composer finds a key chord's root by its first two characters in these names.
bool ComposerKnowsRoot(const std::string& chord) {
    static const std::set<std::string> roots = {"C.", "Db", "D.", "Eb", "E.", "F.", "Gb",
                                                "G.", "Ab", "A.", "Bb", "B.", "Fb", "Cb",
                                                "B#", "C#", "D#", "E#", "F#", "G#", "A#"};
    return roots.count(chord.substr(0, 2)) == 1;
}

struct RandomSong {
    testing::SongFiles files;
    std::string keys;
    int measures = 0;
};

int Pick(std::mt19937& rng, int count) {
    return static_cast<int>(rng() % static_cast<unsigned>(count));
}

RandomSong MakeRandomSong(std::mt19937& rng) {
    const int key = Pick(rng, formats::kKeyCount);
    const formats::KeyRec& rec = formats::KeyRecTable[key];
    const auto& names = rec.sharps != 0 ? formats::SharpNoteNames : formats::FlatNoteNames;
    RandomSong song;
    song.measures = 1 + Pick(rng, 40);
    const std::string header = std::to_string(rec.accidentals) + (rec.sharps ? ",+," : ",-,") +
                               std::string(names[rec.tonicPitchClass]) + "," +
                               std::to_string(song.measures) + ",100,4/4";
    const bool chromatic = Pick(rng, 4) == 0;
    // Scale degrees of the key (major or natural minor) unless the melody is chromatic.
    const int major[] = {0, 2, 4, 5, 7, 9, 11};
    const int minor[] = {0, 2, 3, 5, 7, 8, 10};
    const int* scale = key % 2 == 0 ? major : minor;
    auto note = [&rng, chromatic, scale, tonic = rec.tonicPitchClass]() {
        const int degree = chromatic ? Pick(rng, 12) : scale[Pick(rng, 7)];
        return (tonic + degree) % 12;
    };
    std::vector<testing::MeasureSpec> measures;
    for (int m = 0; m < song.measures; ++m) {
        testing::MeasureSpec spec;
        for (int half = 0; half < 2; ++half) {
            if (Pick(rng, 5) == 0) continue;
            const int main = note();
            std::vector<int> notes = {60 + main};
            for (int extra = Pick(rng, 4); extra > 0; --extra) notes.push_back(60 + note());
            (half == 0 ? spec.first : spec.second) = std::string(formats::SharpNoteNames[main]);
            (half == 0 ? spec.firstNotes : spec.secondNotes) = notes;
            (half == 0 ? spec.firstPosition : spec.secondPosition) = half * 16 + Pick(rng, 8);
        }
        measures.push_back(spec);
    }
    song.files = testing::MakeSongFiles(header, measures);
    song.keys = testing::KeyLine(1, key);
    for (int extra = Pick(rng, 3); extra > 0; --extra) {
        song.keys += testing::KeyLine(1 + Pick(rng, song.measures), Pick(rng, formats::kKeyCount));
    }
    return song;
}

void ExpectReadableRecords(const std::vector<std::string>& records, int measures) {
    ASSERT_EQ(static_cast<int>(records.size()), measures);
    for (int m = 0; m < measures; ++m) {
        const std::string& record = records[m];
        SCOPED_TRACE(record);
        ASSERT_EQ(record.size(), 35u);
        EXPECT_EQ(std::stoi(record.substr(0, 3)), m);
        for (const std::size_t colon : {3, 5, 11, 13, 19, 21, 23}) EXPECT_EQ(record[colon], ':');
        EXPECT_EQ(record[34], ';');
        for (const std::size_t digit : {4, 12, 20, 22}) EXPECT_TRUE(std::isdigit(record[digit]));
        for (const std::size_t chord : {6, 14}) {
            const std::string code = record.substr(chord, 5);
            EXPECT_TRUE(CheckChordString(CodeToText(code))) << code;
        }
    }
    const std::string keyChord = records.back().substr(6, 5);
    EXPECT_NE(keyChord, ".....");
    EXPECT_TRUE(ComposerKnowsRoot(keyChord)) << keyChord;
}

TEST(ChordDataPropertyTest, RandomMelodiesGiveReadableChordData) {
    std::mt19937 rng(20261210);
    for (int i = 0; i < 300; ++i) {
        const RandomSong song = MakeRandomSong(rng);
        const RunParameters params{.acMode = 1 + i % 5, .phraseLen = 8 * (i % 4)};
        SCOPED_TRACE("song " + std::to_string(i) + "\n" + song.files.notesAco + song.keys);
        const SongInput input = testing::LoadSong(song.files);
        ChordSheet sheet;
        std::string log;
        const auto keys = reinterpret_cast<const std::uint8_t*>(song.keys.data());
        ASSERT_TRUE(MakeChordSheet(input, {keys, song.keys.size()}, params, sheet, log)) << log;
        std::string plain;
        ASSERT_TRUE(FormatChordData(sheet, plain));
        std::vector<std::string> records;
        for (std::size_t at = 0; at < plain.size(); at += 35)
            records.push_back(plain.substr(at, 35));
        ExpectReadableRecords(records, song.measures);
    }
}

TEST(ChordDataPropertyTest, CompletionCodeDecodesTheFile) {
    std::mt19937 rng(77);
    for (int i = 0; i < 24; ++i) {
        const RandomSong song = MakeRandomSong(rng);
        SCOPED_TRACE("song " + std::to_string(i) + "\n" + song.files.notesAco + song.keys);
        testsupport::TempProgramFolder folder;
        testing::WriteSong(folder, song.files, song.keys);
        // Unseeded: the key comes from the clock, as in production.
        const auto result = testing::RunTressil(
            folder, std::to_string(1 + i % 4) + " {hwnd} 2426 " + std::to_string(i % 3));
        EXPECT_EQ(result.exitCode, 0);
        ASSERT_TRUE(result.completion.has_value());
        EXPECT_GE(result.completion->wParam, 49u);
        EXPECT_LE(result.completion->wParam, 57u);
        EXPECT_EQ(folder.ReadBytes("Data.aco").size(), 35u * song.measures);
        ExpectReadableRecords(result.records, song.measures);
    }
}

}  // namespace
}  // namespace chordmaker
