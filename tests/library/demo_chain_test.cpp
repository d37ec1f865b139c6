// The main job's chain on the demo melody: song loader, key detector with its key list, chord
// maker, composer with five 4/4 library styles, and the decoded output. The accompanied song
// must be a plain MIDI file another reader accepts, and a render with the General MIDI sound
// font must leave no part silent.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "frontend/core/output_decoding.h"
#include "tests/library/library_catalog.h"
#include "tests/library/library_fixture.h"
#include "tests/library/midi_events.h"
#include "tests/library/render_levels.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"

namespace librarytest {
namespace {

using testsupport::RunWorker;
using testsupport::TempProgramFolder;

// The key detector checks that its caller knows this handshake.
constexpr std::int64_t kHandshake = 31470952;
constexpr std::int64_t kVersionStamp = 2426;
// A part is silent when its render stays below this level.
constexpr double kSilenceDbfs = -60.0;

// The main job's choice for a 4/4 song.
const std::array<const char*, 5> kDemoStyles = {"Pp4431", "Ds4433", "Rk4430", "Bl4412", "Bs4432"};

// Runs the chain and returns the path of the decoded song in the folder ("" on failure).
std::filesystem::path AccompanyDemo(const TempProgramFolder& folder) {
    const std::string text =
        testsupport::ReadTextFile(testsupport::SourceDir() / "demo" / "ode_to_joy.txt");
    folder.Write("InPut.bin", testsupport::BytesFromHexText(text));

    const auto loaded = RunWorker("Ambrel", folder.path(), "/2 InPut.bin {hwnd} 2426");
    EXPECT_EQ(loaded.exitCode, 0) << folder.ReadText("Error1.msg");
    const auto keys = RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) {
        return std::to_string(h) + " 2426 " +
               std::to_string(std::int64_t{h} + kHandshake + kVersionStamp) + " 1";
    });
    EXPECT_TRUE(keys.completion && !keys.completion->failed()) << folder.ReadText("kErr1.msg");
    EXPECT_EQ(folder.ReadText("KeysData.Aco"), "001:00;C  Major\r\n");
    const auto chords = RunWorker("Tressil", folder.path(), "3 {hwnd} 2426 0");
    if (!chords.completion || chords.completion->failed()) {
        ADD_FAILURE() << folder.ReadText("Error2.msg");
        return {};
    }

    const auto catalog = ReadLibraryCatalog(testsupport::SourceDir() / "styles");
    std::string options, names;
    for (const char* name : kDemoStyles) {
        const StyleInfo* style = nullptr;
        for (const StyleInfo& s : catalog) {
            if (s.FileName() == std::string(name) + ".sty") style = &s;
        }
        if (style == nullptr) {
            ADD_FAILURE() << name << " is not in the library";
            return {};
        }
        EXPECT_EQ(style->signature, "4/4");
        char volume[8];
        std::snprintf(volume, sizeof volume, "%03d", MainJobSettings().sectVol);
        options += std::string(volume) + ",000,000,000,000,000,000,000,000,000,000," +
                   style->PlayModeCodes() + "\r\n";
        names += " " + style->FileName();
        std::filesystem::copy_file(testsupport::BinDir() / style->FileName(),
                                   folder.path() / style->FileName(),
                                   std::filesystem::copy_options::skip_existing);
    }
    folder.Write("vPara.dat", options);
    const auto composed = RunWorker("Compose", folder.path(), [&](platform::Hwnd h) {
        return "4 " + MainJobSettings().echoTokens + " 1" + names + " 49 89 " +
               std::to_string(chords.completion->wParam) + " " + std::to_string(h) +
               " 1 0 0 1 2426";
    });
    if (!composed.completion || composed.completion->failed()) {
        ADD_FAILURE() << folder.ReadText("Error3.msg");
        return {};
    }
    const auto decoded =
        frontend::DecodeComposeOutput(folder.ReadBytes("ComposeOut.bin"),
                                      static_cast<std::int16_t>(composed.completion->wParam + 1));
    if (!decoded) {
        ADD_FAILURE() << "the output does not decode";
        return {};
    }
    folder.Write("OdeToJoy-accompanied.mid", decoded->song);
    return folder.path() / "OdeToJoy-accompanied.mid";
}

TEST(DemoChain, AccompaniedDemoIsAPlainMidiFileWithEveryPartAudible) {
    TempProgramFolder folder;
    const auto song = AccompanyDemo(folder);
    ASSERT_FALSE(song.empty());

    const auto parsed = ReadMidiSong(folder.ReadBytes(song.filename().string()));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->format, 1);
    EXPECT_EQ(parsed->trackCount, 12);
    EXPECT_EQ(parsed->division, 384);
    EXPECT_EQ(NoteStreamFaults(*parsed, 2), "");
    if (std::filesystem::exists("/usr/bin/midicsv")) {
        const auto midicsv =
            testsupport::RunCommand("/usr/bin/midicsv '" + song.string() + "' 2>/dev/null");
        EXPECT_EQ(midicsv.exitCode, 0);
        const std::string& csv = midicsv.output;
        EXPECT_NE(csv.find("0, 0, Header, 1, 12, 384"), std::string::npos) << csv.substr(0, 200);
        EXPECT_NE(csv.find("12, 0, End_track"), std::string::npos);
    }

    const auto levels = RenderLevels({song.string()});
    ASSERT_EQ(levels.size(), 1u) << "partlevels could not render the song";
    // Channel 1 is the melody, 2 to 5 the style's parts, 6 to 9 the echo parts, 10 the drums.
    for (int channel = 1; channel <= 10; ++channel) {
        ASSERT_TRUE(levels[0].active.count(channel)) << "channel " << channel << " has no notes\n"
                                                     << levels[0].report;
        EXPECT_GT(levels[0].active.at(channel), kSilenceDbfs)
            << "channel " << channel << " is silent\n"
            << levels[0].report;
    }
    ExpectMelodyOnTop(levels[0]);
}

}  // namespace
}  // namespace librarytest
