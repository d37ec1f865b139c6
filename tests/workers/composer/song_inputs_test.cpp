#include "workers/composer/song_inputs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compose_fixture.h"
#include "tests/support/hex_text.h"
#include "tests/support/song_builder.h"
#include "workers/common/smf_reader.h"

namespace composer {
namespace {

std::vector<std::uint8_t> Song(int numerator, int power) {
    testsupport::SimpleSong s;
    s.numerator = numerator;
    s.denominatorPower = power;
    s.keySign = -1;
    s.notes.push_back({0, 384, 60, 90});
    return testsupport::BuildSong(s);
}

TEST(ReadSongHeader, KnownTimeSignaturesAndKeySignature) {
    struct Case {
        int numerator, power, timeCode;
        const char* name;
        bool split;
    };
    for (const Case c : {Case{2, 2, 2, "2/4", false}, Case{3, 2, 3, "3/4", true},
                         Case{4, 2, 4, "4/4", false}, Case{6, 3, 3, "6/8", false}}) {
        SCOPED_TRACE(c.name);
        SongHeader h;
        const InputStatus status = ReadSongHeader(Song(c.numerator, c.power), h);
        ASSERT_TRUE(status.ok) << status.message;
        EXPECT_EQ(h.timeCode, c.timeCode);
        EXPECT_EQ(h.timeSigName, c.name);
        EXPECT_EQ(h.split34, c.split);
        EXPECT_EQ(h.keySignature[0], 0xFF);  // one flat
    }
}

TEST(ReadSongHeader, RefusesWithTheSystemsMessages) {
    auto song = Song(4, 2);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    auto division480 = song;
    division480[12] = 0x01;
    division480[13] = 0xE0;
    auto negative = song;
    negative[12] = 0xFF;
    negative[13] = 0x00;
    auto clocks24 = Song(6, 3);
    for (std::size_t i = 0; i + 6 < clocks24.size(); ++i) {
        if (clocks24[i] == 0xFF && clocks24[i + 1] == 0x58) clocks24[i + 5] = 24;
    }
    auto fiveFour = song;
    for (std::size_t i = 0; i + 6 < fiveFour.size(); ++i) {
        if (fiveFour[i] == 0xFF && fiveFour[i + 1] == 0x58) fiveFour[i + 3] = 5;
    }
    auto noTimeSig = song;
    for (std::size_t i = 0; i + 6 < noTimeSig.size(); ++i) {
        if (noTimeSig[i] == 0xFF && noTimeSig[i + 1] == 0x58) noTimeSig[i + 1] = 0x7F;
    }
    const Case cases[] = {
        {"division 480", division480, "Cannot work with the Division other than 384."},
        {"negative division", negative, "Error: Invalid Division -256, Hb=255, Lb=0"},
        {"6/8 with 24 clocks", clocks24, "Error: Unknown Time Signature."},
        {"5/4", fiveFour, "Error: Unknown Time Signature."},
        {"no time signature", noTimeSig, "Error GetTimeSig(fi)"},
        {"too short", {0x4D, 0x54}, "Error: Invalid Division 0, Hb=0, Lb=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SongHeader h;
        const InputStatus status = ReadSongHeader(c.bytes, h);
        EXPECT_FALSE(status.ok);
        EXPECT_EQ(status.message, c.message);
    }
}

TEST(ReadSongHeader, SongWithoutKeySignatureUsesZeroes) {
    auto song = Song(4, 2);
    for (std::size_t i = 0; i + 6 < song.size(); ++i) {
        if (song[i] == 0xFF && song[i + 1] == 0x59) song[i + 1] = 0x7F;
    }
    SongHeader h;
    ASSERT_TRUE(ReadSongHeader(song, h).ok);
    EXPECT_EQ(h.keySignature[0], 0);
    EXPECT_EQ(h.keySignature[1], 0);
}

TEST(CopyFirstTwoTracks, CopiesUpToTheThirdTrackOrTheEnd) {
    const auto two = Song(4, 2);
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(CopyFirstTwoTracks(two, out).ok);
    EXPECT_EQ(out, std::vector<std::uint8_t>(two.begin() + 14, two.end()));

    auto three = two;
    const std::vector<std::uint8_t> extra = {'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
    three.insert(three.end(), extra.begin(), extra.end());
    out.clear();
    ASSERT_TRUE(CopyFirstTwoTracks(three, out).ok);
    EXPECT_EQ(out, std::vector<std::uint8_t>(two.begin() + 14, two.end()));

    const std::vector<std::uint8_t> one(two.begin(),
                                        two.begin() + 14 + 8 + (two[21] | (two[20] << 8)));
    out.clear();
    const InputStatus status = CopyFirstTwoTracks(one, out);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, "Error: <InPut.bin> has fewer than two tracks.");
}

// The copied tracks go into the output as they stand, so a song input whose tracks do not end
// where their lengths say would give an output that cannot be decoded.
TEST(CopyFirstTwoTracks, RefusesTracksThatAreNotWholeChunks) {
    const auto two = Song(4, 2);
    const std::size_t firstLength = (two[18] << 24) | (two[19] << 16) | (two[20] << 8) | two[21];
    const std::size_t secondStart = 14 + 8 + firstLength;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> song;
    };
    auto cutInSecond = two;
    cutInSecond.resize(two.size() - 3);
    auto cutInFirst = two;
    cutInFirst.erase(cutInFirst.begin() + 30, cutInFirst.begin() + secondStart);
    auto strayBytes = two;
    strayBytes.insert(strayBytes.end(), {0, 0, 0});
    auto lengthTooLong = two;
    lengthTooLong[secondStart + 7] += 1;
    auto lengthTooShort = two;
    lengthTooShort[secondStart + 7] -= 1;
    auto lengthPastEverything = two;
    lengthPastEverything[18] = 0xFF;
    const Case cases[] = {
        {"the file ends inside the second track", cutInSecond},
        {"the first track ends before its length says", cutInFirst},
        {"stray bytes after the second track", strayBytes},
        {"a length one byte too long", lengthTooLong},
        {"a length one byte too short", lengthTooShort},
        {"a length far past the end of the file", lengthPastEverything},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> out;
        const InputStatus status = CopyFirstTwoTracks(c.song, out);
        EXPECT_FALSE(status.ok);
        EXPECT_EQ(status.message, "Error: <InPut.bin> has a broken track chunk.");
        EXPECT_TRUE(out.empty());
    }
}

// The song loader's reading of a song, its measures dropped: whether it takes the song in.
bool TheLoaderTakes(const std::vector<std::uint8_t>& song) {
    class DroppingSink : public worker::MeasureSink {
        worker::ReadStatus FlushMeasure(worker::SongState& state, worker::MeasureIndex) override {
            worker::ResetMeasureNotes(state.curNotes);
            return worker::ReadStatus::Ok();
        }
    };
    auto state = std::make_unique<worker::SongState>();
    DroppingSink sink;
    return worker::ReadSong(song, *state, sink).ok;
}

// The melody track keeps every event and its data and only moves to channel 1, read as the
// song loader reads it: the events the loader takes in move, also where it stops reading at a
// meta event or a delta time the end of the file cuts short; a track the song loader would
// refuse keeps its bytes.
TEST(CopyFirstTwoTracks, MovesTheMelodysChannelEventsOntoChannelOne) {
    const auto base = Song(4, 2);
    const std::size_t conductorEnd = 14 + 8 + ((base[20] << 8) | base[21]);
    struct Case {
        const char* what;
        const char* melody;
        const char* expected;    // nullptr: copied as it is
        const char* after = "";  // the song's bytes after the melody track
    };
    const Case cases[] = {
        {"every channel event kind on channel 4, beside meta and system exclusive data that look "
         "like status bytes",
         "00 C3 30  00 B3 07 64  00 E3 00 40  00 D3 20  00 FF 01 02 93 C3  00 F0 03 7E 93 F7 "
         "00 93 3C 64  83 00 83 3C 40  00 FF 2F 00",
         "00 C0 30  00 B0 07 64  00 E0 00 40  00 D0 20  00 FF 01 02 93 C3  00 F0 03 7E 93 F7 "
         "00 90 3C 64  83 00 80 3C 40  00 FF 2F 00"},
        {"channel 10", "00 99 24 64  83 00 89 24 00  00 FF 2F 00",
         "00 90 24 64  83 00 80 24 00  00 FF 2F 00"},
        {"running status", "00 93 3C 64  60 3E 64  00 FF 2F 00", nullptr},
        {"polyphonic pressure", "00 A3 3C 10  00 93 3C 64  00 FF 2F 00", nullptr},
        {"a note whose key is 128 or more", "00 93 BC 64  00 FF 2F 00", nullptr},
        {"a system exclusive message without its end", "00 93 3C 64  00 F0 7E 00 00 FF 2F 00",
         nullptr},
        {"an event cut short by the chunk's end", "00 93 3C 64  00 B3 07", nullptr},
        {"a last meta event whose length runs past the end of the file",
         "00 C3 30  00 93 3C 64  83 00 83 3C 40  00 FF 01 10 41",
         "00 C0 30  00 90 3C 64  83 00 80 3C 40  00 FF 01 10 41"},
        {"a last delta time cut short by the end of the file", "00 93 3C 64  83 00 83 3C 40  83",
         "00 90 3C 64  83 00 80 3C 40  83"},
        {"a last meta event whose length runs on over the next chunk's head",
         "00 93 3C 64  83 00 83 3C 40  00 FF 01 08", "00 90 3C 64  83 00 80 3C 40  00 FF 01 08",
         R"("MTrk" 00 00 00 04  00 FF 2F 00)"},
        {"an end of track whose length takes two bytes, which the loader reads on past",
         "00 93 3C 64  00 FF 2F 80 00  83 00 83 3C 40  00 FF 2F 00",
         "00 90 3C 64  00 FF 2F 80 00  83 00 80 3C 40  00 FF 2F 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> song(base.begin(), base.begin() + conductorEnd);
        const auto melody = testsupport::TrackChunk(testsupport::BytesFromHexText(c.melody));
        song.insert(song.end(), melody.begin(), melody.end());
        std::vector<std::uint8_t> expected(song.begin() + 14, song.end());
        const auto after = testsupport::BytesFromHexText(c.after);
        song.insert(song.end(), after.begin(), after.end());
        EXPECT_EQ(TheLoaderTakes(song), c.expected != nullptr);
        std::vector<std::uint8_t> out;
        ASSERT_TRUE(CopyFirstTwoTracks(song, out).ok);
        if (c.expected != nullptr) {
            const auto moved = testsupport::TrackChunk(testsupport::BytesFromHexText(c.expected));
            expected.resize(conductorEnd - 14);
            expected.insert(expected.end(), moved.begin(), moved.end());
        }
        EXPECT_EQ(out, expected);
    }
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ReadBeatPattern, StopsAtFirstMissingLine) {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "1\n";
    const auto pattern = ReadBeatPattern(Bytes(text));
    for (int i = 0; i < 48; ++i) EXPECT_EQ(pattern[i], i < 10 ? 1 : 0) << i;
    const std::string broken = "1\n0\nx\n1\n";
    const auto partial = ReadBeatPattern(Bytes(broken));
    EXPECT_EQ(partial[0], 1);
    EXPECT_EQ(partial[3], 0);
}

std::vector<composertest::FixtureMeasure> Measures(int n) {
    std::vector<composertest::FixtureMeasure> m(n);
    for (int i = 0; i < n; ++i) {
        m[i].chord1 = i % 2 ? "G...." : "C.m7.";
        m[i].drum = i % 10;
        m[i].inst = (i + 1) % 10;
        m[i].style = i == 3 ? 2 : 0;
    }
    return m;
}

TEST(ReadChordData, ReadsRecordsAndSections) {
    auto coded = composertest::EncodeChordData(Measures(5), 53);
    coded.resize(coded.size() - 10);  // a record cut short is dropped
    ChordData data;
    const InputStatus status = ReadChordData(coded, 53, data);
    ASSERT_TRUE(status.ok) << status.message;
    ASSERT_EQ(data.measures.size(), 4u);
    EXPECT_EQ(data.measures[0].chord1, "C.m7.");
    EXPECT_EQ(data.measures[1].chord1, "G....");
    EXPECT_EQ(data.measures[2].drumCode, 2);
    EXPECT_EQ(data.measures[2].instCode, 3);
    ASSERT_EQ(data.sections.size(), 1u);
    EXPECT_EQ(data.sections[0].measure, 3);
    EXPECT_EQ(data.sections[0].slot, 2);
}

TEST(ReadChordData, AcceptsTwoHundredFiftyNineMeasuresOnly) {
    ChordData data;
    EXPECT_TRUE(ReadChordData(composertest::EncodeChordData(Measures(259), 49), 49, data).ok);
    EXPECT_EQ(data.measures.size(), 259u);
    const InputStatus status =
        ReadChordData(composertest::EncodeChordData(Measures(260), 49), 49, data);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, "Out of memory. The input song has too many measures: 260.");
}

TEST(ReadChordData, WrongKeyIsRefused) {
    const auto coded = composertest::EncodeChordData(Measures(3), 53);
    for (int key = 49; key <= 57; ++key) {
        if (key == 53) continue;
        SCOPED_TRACE(key);
        ChordData data;
        EXPECT_FALSE(ReadChordData(coded, key, data).ok);
    }
}

TEST(ReadChordData, ReportsBadRecords) {
    auto plain = [](const std::string& text) {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i < text.size(); ++i)
            out.push_back(static_cast<std::uint8_t>(text[i] + 50 + 3 * (i + 1)));
        return out;
    };
    ChordData data;
    InputStatus status = ReadChordData(plain("000:0:C....:2:.....:0:x;"), 49, data);
    EXPECT_EQ(status.message, "Error: Invalid input data format kq=6\n<000:0:C....:2:.....:0:x;>");
    // The record length is where the first ";" stands (the whole file when there is none).
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {{std::string(90, 'a'), "Error: Invalid RecLen 90"},
                          {std::string(119, 'a') + ";", "Error: Invalid RecLen 120"},
                          {std::string(80, 'a') + ";", "Error: Invalid RecLen 81"},
                          {"", "Error: Invalid RecLen 0"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ReadChordData(plain(c.text), 49, data).message, c.message) << c.text.size();
    }
    // 80 bytes is a record length the reading accepts.
    status = ReadChordData(plain(std::string(79, 'a') + ";"), 49, data);
    EXPECT_EQ(status.message.rfind("Error: Invalid input data format", 0), 0u) << status.message;
}

TEST(ReadSongPitchClasses, MarksValuesSixtyToSeventyOne) {
    const std::string text = "060;064;067;\n000;\n071;072;059;\n";
    const auto classes = ReadSongPitchClasses(Bytes(text), 2);
    EXPECT_EQ(classes[0], 60);
    EXPECT_EQ(classes[4], 64);
    EXPECT_EQ(classes[7], 67);
    EXPECT_EQ(classes[11], 0);  // third line is beyond the two lines asked for
}

TEST(ReadMeasureStats, KeepsFiveValuesAndStopsAtBadLine) {
    const std::string text =
        "062;-1;064;24;002;090\n000;00;000;00;000;000\nbad\n060;00;000;00;001;080\n";
    const auto rows = ReadMeasureStats(Bytes(text));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].mainNote1, 62);
    EXPECT_EQ(rows[0].position1, -1);
    EXPECT_EQ(rows[0].mainNote2, 64);
    EXPECT_EQ(rows[0].position2, 24);
    EXPECT_EQ(rows[0].velocity, 90);
}

}  // namespace
}  // namespace composer
