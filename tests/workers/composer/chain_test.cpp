// The whole chain in one program folder: a MIDI melody through the song loader, a one-line key
// list, the chord maker, then the composer with the chord maker's completion code and five of
// the test styles; the decoded output checked here and by an independent MIDI reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <span>

#include "formats/output_coding.h"
#include "output_reader.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"

namespace composertest {
namespace {

using testsupport::RunWorker;
using testsupport::TempProgramFolder;

constexpr const char* kStyles[] = {"Md4412.sty", "Kd4425.sty", "Lt4430.sty", "Nw4431.sty",
                                   "Nx4435.sty"};

// midicsv's verdict on a file: its CSV text, empty when the tool is missing or refuses.
std::string MidiCsv(const std::filesystem::path& file) {
    if (!std::filesystem::exists("/usr/bin/midicsv")) return {};
    const auto run =
        testsupport::RunCommand("/usr/bin/midicsv '" + file.string() + "' 2>/dev/null");
    return run.exitCode == 0 ? run.output : std::string();
}

// What the composer left in the program folder: its output and the run code it reported.
struct Composed {
    std::vector<std::uint8_t> output;
    int runCode = 0;
};

// Runs the song loader on `input`, a one-line key list, the chord maker and the composer with
// five of the test styles in `folder`.
void RunChain(const TempProgramFolder& folder, const std::vector<std::uint8_t>& input,
              Composed& composedOut) {
    folder.Write("InPut.bin", input);
    const auto loaded = RunWorker("Ambrel", folder.path(), "/2 InPut.bin {hwnd} 2426");
    ASSERT_EQ(loaded.exitCode, 0) << folder.ReadText("Error1.msg");
    folder.Write("KeysData.Aco", "001:00;C  Major\r\n");
    const auto chords = RunWorker("Tressil", folder.path(), "3 {hwnd} 2426 1");
    ASSERT_EQ(chords.exitCode, 0) << folder.ReadText("Error2.msg");
    ASSERT_TRUE(chords.completion.has_value());
    const unsigned chordKey = chords.completion->wParam;

    for (const char* style : kStyles) {
        const auto bytes = folder.ReadBytes(testsupport::StylePath(style).string());
        ASSERT_FALSE(bytes.empty()) << style;
        folder.Write(style, bytes);
    }
    std::string options;
    for (int slot = 0; slot < 5; ++slot)
        options += "080,000,000,000,000,000,000,000,000,000,000,000,002,003,001,001\r\n";
    folder.Write("vPara.dat", options);
    const auto composed = RunWorker("Compose", folder.path(), [&](platform::Hwnd h) {
        std::string args = "4 5 6 1";
        for (const char* style : kStyles) args += std::string(" ") + style;
        return args + " 49 89 " + std::to_string(chordKey) + " " + std::to_string(h) +
               " 0 0 0 1 2426";
    });
    ASSERT_TRUE(composed.completion.has_value());
    ASSERT_FALSE(composed.completion->failed()) << folder.ReadText("Error3.msg");
    EXPECT_EQ(composed.exitCode, 0);
    EXPECT_EQ(folder.ReadText("sty.err"), "");
    composedOut.output = folder.ReadBytes("ComposeOut.bin");
    composedOut.runCode = static_cast<int>(composed.completion->wParam) + 1;
}

TEST(ChainTest, MelodyThroughAmbrelTressilAndCompose) {
    TempProgramFolder folder;
    const std::string text =
        testsupport::ReadTextFile(testsupport::SourceDir() / "demo" / "ode_to_joy.txt");
    ASSERT_FALSE(text.empty());
    const auto input = testsupport::BytesFromHexText(text);
    Composed composed;
    ASSERT_NO_FATAL_FAILURE(RunChain(folder, input, composed));

    const auto& output = composed.output;
    const auto song = ReadComposerOutput(output, composed.runCode);
    ASSERT_TRUE(song.has_value());
    EXPECT_EQ(song->format, 1);
    EXPECT_EQ(song->trackCount, 12);
    ASSERT_EQ(song->tracks.size(), 12u);
    const auto original = ParseMidi(input);
    ASSERT_TRUE(original.has_value());
    EXPECT_EQ(song->tracks[0].bytes, original->tracks[0].bytes);
    EXPECT_EQ(song->tracks[1].bytes, original->tracks[1].bytes);

    std::map<int, int> ons, balance;
    for (std::size_t t = 2; t < song->tracks.size(); ++t) {
        for (const auto& e : song->tracks[t].events) {
            const int type = e.status & 0xF0, ch = e.status & 0x0F;
            if (type == 0x90 && e.data[1] > 0) {
                ++ons[ch];
                ++balance[ch];
            } else if (type == 0x80 || type == 0x90) {
                --balance[ch];
            }
        }
    }
    for (int ch : {1, 2, 3, 4, 5, 6, 7, 8, 9}) EXPECT_GT(ons[ch], 0) << "channel " << ch;
    for (auto [ch, b] : balance) EXPECT_EQ(b, 0) << "channel " << ch;

    // An independent reader accepts the decoded song and sees the same twelve tracks.
    std::vector<std::uint8_t> decoded = output;
    const std::size_t plain = 14 + song->tracks[0].bytes.size() + song->tracks[1].bytes.size();
    formats::UndoOutputCoding(std::span(decoded).subspan(plain), composed.runCode);
    folder.Write("decoded.mid", decoded);
    const std::string csv = MidiCsv(folder.path() / "decoded.mid");
    if (csv.empty() && !std::filesystem::exists("/usr/bin/midicsv"))
        GTEST_SKIP() << "midicsv is not installed";
    ASSERT_FALSE(csv.empty());
    EXPECT_NE(csv.find("0, 0, Header, 1, 12, 384"), std::string::npos);
    EXPECT_NE(csv.find("Zq-Drums"), std::string::npos);
    EXPECT_NE(csv.find("12, 0, Start_track"), std::string::npos);
}

// A melody in C major on `channel` that also sets its program, volume and pitch bend and holds
// a text and a system exclusive message whose data look like status bytes: the same song on
// every channel but for its status bytes.
std::vector<std::uint8_t> MelodyOn(int channel) {
    testsupport::SimpleSong s;
    s.channel = channel;
    const int keys[] = {64, 64, 65, 67, 67, 65, 64, 62, 60, 60, 62, 64, 64, 62, 62, 60};
    for (int i = 0; i < 16; ++i) s.notes.push_back({i * 384, i * 384 + 360, keys[i], 96});
    std::vector<std::uint8_t> song = testsupport::BuildSong(s);
    const std::size_t melody = 14 + 8 + ((song[20] << 8) | song[21]);
    char text[96];
    std::snprintf(text, sizeof text,
                  "00 C%X 28  00 B%X 07 64  00 E%X 00 48  00 FF 01 02 93 C3  00 F0 03 7E 13 F7",
                  channel, channel, channel);
    const std::vector<std::uint8_t> sound = testsupport::BytesFromHexText(text);
    song.insert(song.begin() + static_cast<std::ptrdiff_t>(melody + 8), sound.begin(), sound.end());
    const std::size_t length =
        (std::size_t{song[melody + 6]} << 8 | song[melody + 7]) + sound.size();
    song[melody + 6] = static_cast<std::uint8_t>(length >> 8);
    song[melody + 7] = static_cast<std::uint8_t>(length);
    return song;
}

// The parts play on channels 2 to 16, so the output has the melody on channel 1, whatever
// channel the song gave it; nothing else changes.
TEST(ChainTest, TheMelodyPlaysOnChannelOneAndTheAccompanimentIgnoresItsChannel) {
    TempProgramFolder reference;
    Composed onFirst;
    ASSERT_NO_FATAL_FAILURE(RunChain(reference, MelodyOn(0), onFirst));
    const auto expected = ReadComposerOutput(onFirst.output, onFirst.runCode);
    ASSERT_TRUE(expected.has_value());
    ASSERT_EQ(expected->tracks.size(), 12u);
    const auto input = ParseMidi(MelodyOn(0));
    ASSERT_TRUE(input.has_value());
    EXPECT_EQ(expected->tracks[1].bytes, input->tracks[1].bytes);

    for (const int channel : {3, 9}) {
        SCOPED_TRACE(testing::Message() << "melody on channel " << channel + 1);
        TempProgramFolder folder;
        const std::vector<std::uint8_t> song = MelodyOn(channel);
        Composed composed;
        ASSERT_NO_FATAL_FAILURE(RunChain(folder, song, composed));
        EXPECT_EQ(folder.ReadBytes("InPut.bin"), song);  // the song input is not changed
        const auto output = ReadComposerOutput(composed.output, composed.runCode);
        ASSERT_TRUE(output.has_value());
        ASSERT_EQ(output->tracks.size(), 12u);
        int channelEvents = 0;
        for (const MidiEvent& e : output->tracks[1].events) {
            if (e.status >= 0xF0) continue;
            ++channelEvents;
            EXPECT_EQ(e.status & 0x0F, 0) << "at tick " << e.tick;
        }
        EXPECT_EQ(channelEvents, 3 + 2 * 16);
        // Every event keeps its tick and data: the melody is the channel-1 song's, byte for byte.
        EXPECT_EQ(output->tracks[1].bytes, expected->tracks[1].bytes);
        EXPECT_EQ(output->tracks[0].bytes, expected->tracks[0].bytes);
        for (std::size_t t = 2; t < 12; ++t)
            EXPECT_EQ(output->tracks[t].bytes, expected->tracks[t].bytes) << "track " << t;
    }
}

}  // namespace
}  // namespace composertest
