// Song projects without a window: the writer's fields, the chord data it accepts, the big-endian
// lengths, and the reader on whole, cut and damaged projects.
#include "frontend/core/song_project.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "tests/frontend/support/crlf_lines.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BigEndian(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at)) << 24 | bytes.at(at + 1) << 16 |
           bytes.at(at + 2) << 8 | bytes.at(at + 3);
}

void PutBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes.at(at) = static_cast<std::uint8_t>(value >> 24);
    bytes.at(at + 1) = static_cast<std::uint8_t>(value >> 16);
    bytes.at(at + 2) = static_cast<std::uint8_t>(value >> 8);
    bytes.at(at + 3) = static_cast<std::uint8_t>(value);
}

void Append(Bytes& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// A composed output: a header chunk saying 12 tracks, the conductor and the melody track, each
// ending 00 FF 2F 00, and some accompaniment bytes after them.
struct Output {
    Bytes bytes;
    std::int32_t headLength = 0;
};

Output TwelveTrackOutput() {
    Output output;
    Bytes& b = output.bytes;
    Append(b, "MThd");
    b.insert(b.end(), {0, 0, 0, 6, 0, 1, 0, 12, 0x01, 0x80});
    Append(b, "MTrk");
    b.insert(b.end(),
             {0, 0, 0, 11, 0x00, 0xFF, 0x51, 0x03, 0x09, 0x89, 0x68, 0x00, 0xFF, 0x2F, 0x00});
    Append(b, "MTrk");
    b.insert(b.end(),
             {0, 0, 0, 12, 0x00, 0x90, 0x43, 0x64, 0x83, 0x00, 0x43, 0x00, 0x00, 0xFF, 0x2F, 0x00});
    output.headLength = static_cast<std::int32_t>(b.size());
    Append(b, "MTrk");
    b.insert(b.end(), {0x7A, 0x13, 0xEE, 0x02, 0x00, 0xFF});
    return output;
}

// Settings with a value in every field: slot s has style "ST000s.sty", volume 60 + s; part p of
// slot s program 10s + p, volume 100 + p and mode codes 0, 1, 2, 3, 10 over the parts.
styles::StyleSetting VariedSetting() {
    styles::StyleSetting setting;
    for (int s = 0; s < styles::kSlotCount; ++s) {
        setting.styleFile[s] = "ST000" + std::to_string(s) + ".sty";
        setting.sectVol[s] = 60 + s;
        for (int p = 0; p < styles::kPartCount; ++p) {
            setting.parts[s][p] = {10 * s + p, 100 + p, p < 4 ? p : styles::kSustainModeCode};
        }
    }
    setting.autoOctave = 1;
    setting.echoVoice = {50, 128};
    setting.echoSetting = {0, 9};
    return setting;
}

Bytes ChordData(std::size_t size) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return data;
}

TEST(SongProject, TheWriterStoresEveryFieldInItsPlace) {
    const Output output = TwelveTrackOutput();
    const Bytes before = output.bytes;
    const Bytes chords = ChordData(35 * 3);
    const StyleBlock block = StyleBlockOf(VariedSetting());
    const ProjectBytes project =
        SongProjectBytes(output.bytes, output.headLength, 53, chords, block);
    ASSERT_EQ(project.error, ProjectWriteError::kNone);
    const Bytes& p = project.bytes;
    const std::size_t n1 = static_cast<std::size_t>(output.headLength);

    EXPECT_EQ(std::string(p.begin(), p.begin() + 8), "QXS-Data");
    EXPECT_EQ(BigEndian(p, 8), n1);
    // The song part is the output's head, its track count made 2; the output keeps its 12.
    Bytes song(p.begin() + 12, p.begin() + 12 + static_cast<long>(n1));
    EXPECT_EQ(song[11], 2);
    song[11] = 12;
    EXPECT_EQ(song, Bytes(before.begin(), before.begin() + static_cast<long>(n1)));
    EXPECT_EQ(output.bytes, before);
    EXPECT_EQ(p.at(12 + n1), 53);
    EXPECT_EQ(BigEndian(p, 13 + n1), chords.size());
    EXPECT_EQ(Bytes(p.begin() + 17 + static_cast<long>(n1),
                    p.begin() + 17 + static_cast<long>(n1 + chords.size())),
              chords);
    ASSERT_EQ(p.size(), 17 + n1 + chords.size() + kStyleBlockBytes);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), p.end() - kStyleBlockBytes));

    // The block: names and volumes, then program, volume and mode code per part, 1, Auto-Octave
    // and the echo values.
    EXPECT_EQ(std::string(block.begin(), block.begin() + 10), "ST0000.sty");
    EXPECT_EQ(block[10], 60);
    EXPECT_EQ(std::string(block.begin() + 44, block.begin() + 54), "ST0004.sty");
    EXPECT_EQ(block[54], 64);
    const std::size_t parts = 55;
    const auto part = [&](int s, int i) {
        return Bytes(block.begin() + parts + 15 * s + 3 * i,
                     block.begin() + parts + 15 * s + 3 * i + 3);
    };
    EXPECT_EQ(part(0, 0), (Bytes{0, 100, 0}));
    EXPECT_EQ(part(1, 2), (Bytes{12, 102, 2}));
    EXPECT_EQ(part(2, 3), (Bytes{23, 103, 3}));
    EXPECT_EQ(part(4, 4), (Bytes{44, 104, 10}));
    EXPECT_EQ(Bytes(block.begin() + 130, block.end()), (Bytes{1, 1, 50, 0, 128, 9}));
}

TEST(SongProject, AShortStyleNameIsPaddedWithBlanksAndALongOneCut) {
    styles::StyleSetting setting = VariedSetting();
    setting.styleFile[0] = "Ab.sty";
    setting.styleFile[1] = "Abcdefgh.sty";
    setting.styleFile[2] = "";
    const StyleBlock block = StyleBlockOf(setting);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 10), "Ab.sty    ");
    EXPECT_EQ(std::string(block.begin() + 11, block.begin() + 21), "Abcdefgh.s");
    EXPECT_EQ(std::string(block.begin() + 22, block.begin() + 32), "          ");
}

TEST(SongProject, TheChordDataMustHoldOneTo9999Bytes) {
    const Output output = TwelveTrackOutput();
    const StyleBlock block = StyleBlockOf(VariedSetting());
    const struct {
        std::size_t size;
        ProjectWriteError error;
    } cases[] = {
        {0, ProjectWriteError::kChordData},
        {1, ProjectWriteError::kNone},
        {9999, ProjectWriteError::kNone},
        {10000, ProjectWriteError::kChordData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes chords = ChordData(c.size);
        const ProjectBytes project =
            SongProjectBytes(output.bytes, output.headLength, 53, chords, block);
        EXPECT_EQ(project.error, c.error);
        if (c.error == ProjectWriteError::kNone) {
            EXPECT_EQ(BigEndian(project.bytes, 13 + static_cast<std::size_t>(output.headLength)),
                      c.size);
        } else {
            EXPECT_TRUE(project.bytes.empty());
        }
    }
}

TEST(SongProject, AHeadLengthFourBytesCannotHoldIsRefused) {
    const Output output = TwelveTrackOutput();
    const Bytes chords = ChordData(35);
    const StyleBlock block = StyleBlockOf(VariedSetting());
    for (const std::int32_t length : {-1, static_cast<std::int32_t>(output.bytes.size() + 1)}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(SongProjectBytes(output.bytes, length, 53, chords, block).error,
                  ProjectWriteError::kLength);
    }
}

TEST(SongProject, LongTo4BytesPutsTheMostSignificantByteFirst) {
    const struct {
        std::int32_t value;
        std::int16_t result;
        std::array<std::uint8_t, 4> bytes;
    } cases[] = {
        {300, 0, {0x00, 0x00, 0x01, 0x2C}},     {0, 0, {0, 0, 0, 0}},
        {INT_MAX, 0, {0x7F, 0xFF, 0xFF, 0xFF}}, {0x01020304, 0, {1, 2, 3, 4}},
        {-1, 1, {0xAA, 0xAA, 0xAA, 0xAA}},      {INT_MIN, 1, {0xAA, 0xAA, 0xAA, 0xAA}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::array<std::uint8_t, 4> target{0xAA, 0xAA, 0xAA, 0xAA};
        EXPECT_EQ(LongTo4Bytes(c.value, target), c.result);
        EXPECT_EQ(target, c.bytes);
    }
}

class ProjectReading : public ::testing::Test {
  protected:
    void SetUp() override {
        output = TwelveTrackOutput();
        setting = VariedSetting();
        setting.styleFile[0] = "ABCD12.sty";
        setting.sectVol[0] = 80;
        chords = ChordData(9999);
        const ProjectBytes written =
            SongProjectBytes(output.bytes, output.headLength, 57, chords, StyleBlockOf(setting));
        ASSERT_EQ(written.error, ProjectWriteError::kNone);
        project = written.bytes;
        n1 = static_cast<std::size_t>(output.headLength);
    }

    Output output;
    styles::StyleSetting setting;
    Bytes chords;
    Bytes project;
    std::size_t n1 = 0;
};

TEST_F(ProjectReading, AWholeProjectGivesBackWhatWasSaved) {
    project.push_back(0x55);  // what follows the block is not read
    const UnpackedProject read = UnpackSongProject(project);
    ASSERT_EQ(read.error, ProjectReadError::kNone);
    Bytes head(output.bytes.begin(), output.bytes.begin() + static_cast<long>(n1));
    head[11] = 2;
    EXPECT_EQ(read.input, head);
    EXPECT_EQ(read.myVmCode, 57);
    EXPECT_EQ(read.chordData, chords);
    ASSERT_TRUE(read.settingText);
    const std::vector<std::string> lines = testing::CrLfLines(*read.settingText);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "\"ABCD12.sty\",80");
    EXPECT_EQ(lines[4], "\"ST0004.sty\",64");
    EXPECT_EQ(lines[5], "0,100,0");
    EXPECT_EQ(lines[29], "44,104,10");
    EXPECT_EQ(lines[30], "1,1");
    EXPECT_EQ(lines[31], "50,0,128,9");
    // The style setting reader takes the unpacked file as the settings that were saved.
    const auto text = reinterpret_cast<const std::uint8_t*>(read.settingText->data());
    EXPECT_EQ(styles::ParseStyleSetting({text, read.settingText->size()}, styles::kSettingLines),
              setting);
}

TEST_F(ProjectReading, ADamagedProjectIsRefusedAfterThePiecesItHoldsWhole) {
    enum Have { kNothing, kInput, kKey, kChords };
    const std::size_t keyAt = 12 + n1;
    const std::size_t chordLengthAt = keyAt + 1;
    const std::size_t blockAt = chordLengthAt + 4 + chords.size();
    const struct {
        const char* name;
        std::function<void(Bytes&)> damage;
        ProjectReadError error;
        Have have;
    } cases[] = {
        {"empty file", [](Bytes& b) { b.clear(); }, ProjectReadError::kBadMagic, kNothing},
        {"magic cut", [](Bytes& b) { b.resize(7); }, ProjectReadError::kBadMagic, kNothing},
        {"bad magic", [](Bytes& b) { b[7] = 'b'; }, ProjectReadError::kBadMagic, kNothing},
        {"no song length", [](Bytes& b) { b.resize(10); }, ProjectReadError::kInvalid, kNothing},
        {"song length 0", [](Bytes& b) { PutBigEndian(b, 8, 0); }, ProjectReadError::kInvalid,
         kNothing},
        {"song beyond the file", [&](Bytes& b) { PutBigEndian(b, 8, 0xFFFFFFFF); },
         ProjectReadError::kInvalid, kNothing},
        {"song cut", [&](Bytes& b) { b.resize(keyAt - 1); }, ProjectReadError::kInvalid, kNothing},
        {"no key", [&](Bytes& b) { b.resize(keyAt); }, ProjectReadError::kInvalid, kInput},
        {"chord length cut", [&](Bytes& b) { b.resize(chordLengthAt + 3); },
         ProjectReadError::kInvalid, kKey},
        {"chord data of 0 bytes", [&](Bytes& b) { PutBigEndian(b, chordLengthAt, 0); },
         ProjectReadError::kInvalid, kKey},
        {"chord data beyond the file",
         [&](Bytes& b) { PutBigEndian(b, chordLengthAt, static_cast<std::uint32_t>(b.size())); },
         ProjectReadError::kInvalid, kKey},
        {"style block cut", [&](Bytes& b) { b.resize(blockAt + kStyleBlockBytes - 1); },
         ProjectReadError::kInvalid, kChords},
        {"no style block", [&](Bytes& b) { b.resize(blockAt); }, ProjectReadError::kInvalid,
         kChords},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes damaged = project;
        c.damage(damaged);
        const UnpackedProject read = UnpackSongProject(damaged);
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.input.has_value(), c.have >= kInput);
        EXPECT_EQ(read.myVmCode.has_value(), c.have >= kKey);
        EXPECT_EQ(read.chordData.has_value(), c.have >= kChords);
        EXPECT_FALSE(read.settingText);
    }
}

TEST_F(ProjectReading, EveryCutOfAProjectIsRefusedWithoutReadingPastItsEnd) {
    // Under the sanitizers a read past the end of the copy fails the test.
    for (std::size_t size = 0; size < project.size(); size += size < 200 ? 1 : 97) {
        SCOPED_TRACE(size);
        const Bytes cut(project.begin(), project.begin() + static_cast<long>(size));
        const UnpackedProject read = UnpackSongProject(cut);
        EXPECT_NE(read.error, ProjectReadError::kNone);
        EXPECT_EQ(read.error == ProjectReadError::kBadMagic, size < 8);
        EXPECT_FALSE(read.settingText);
    }
}

}  // namespace
}  // namespace corvane
