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

TEST(ChainTest, MelodyThroughAmbrelTressilAndCompose) {
    TempProgramFolder folder;
    const std::string text =
        testsupport::ReadTextFile(testsupport::SourceDir() / "demo" / "ode_to_joy.txt");
    ASSERT_FALSE(text.empty());
    const auto input = testsupport::BytesFromHexText(text);
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

    const auto output = folder.ReadBytes("ComposeOut.bin");
    const auto song = ReadComposerOutput(output, static_cast<int>(composed.completion->wParam) + 1);
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
    formats::UndoOutputCoding(std::span(decoded).subspan(plain),
                              static_cast<int>(composed.completion->wParam) + 1);
    folder.Write("decoded.mid", decoded);
    const std::string csv = MidiCsv(folder.path() / "decoded.mid");
    if (csv.empty() && !std::filesystem::exists("/usr/bin/midicsv"))
        GTEST_SKIP() << "midicsv is not installed";
    ASSERT_FALSE(csv.empty());
    EXPECT_NE(csv.find("0, 0, Header, 1, 12, 384"), std::string::npos);
    EXPECT_NE(csv.find("Zq-Drums"), std::string::npos);
    EXPECT_NE(csv.find("12, 0, Start_track"), std::string::npos);
}

}  // namespace
}  // namespace composertest
