// The README's first steps on the demo melody, as a new user takes them in the window: song
// loader, key detector with its key list, chord maker, and Make with no style chosen, so the
// library's first style in all five slots and the window's first-run settings (tools/firstrun),
// then the decoded output. Make must accept the style for the song; the accompanied song must be
// a plain MIDI file another reader accepts, with the bass from the first measure, no part silent
// and the melody on top.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "frontend/core/make_output.h"
#include "frontend/core/song_header.h"
#include "frontend/core/style_library.h"
#include "platform/file.h"
#include "tests/library/library_fixture.h"
#include "tests/library/midi_events.h"
#include "tests/library/render_levels.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"
#include "tools/firstrun/first_run.h"

namespace librarytest {
namespace {

using testsupport::RunWorker;
using testsupport::TempProgramFolder;

// The key detector checks that its caller knows this handshake.
constexpr std::int64_t kHandshake = 31470952;
constexpr std::int64_t kVersionStamp = 2426;
// A part is silent when its render stays below this level.
constexpr double kSilenceDbfs = -60.0;

constexpr int kBassChannel = 1;

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

    // A first run puts the library's first style into every slot; Make compares its time
    // signature with the song's.
    const corvane::StyleScan scan = corvane::ScanStyleLibrary(testsupport::BinDir().string(), "");
    if (scan.fatal || scan.library.StyleCount() == 0) {
        ADD_FAILURE() << "the program folder has no style library";
        return {};
    }
    const std::string styleFile = scan.library.StyleFiles[0];
    const std::string notes = folder.ReadText("Notes.aco");
    const corvane::SongHeader header = corvane::ParseSongHeader(notes.substr(0, notes.find('\n')));
    const std::string styleSig = corvane::StyleTimeSignature(scan.library.StyleNames[0]);
    if (styleSig != header.timeSig) {
        ADD_FAILURE() << corvane::TimeSignatureRefusal(styleSig, header.timeSig);
        return {};
    }
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile((testsupport::BinDir() / styleFile).string(), bytes)) {
        ADD_FAILURE() << styleFile << " cannot be read";
        return {};
    }
    folder.Write(styleFile, bytes);
    std::array<firstrun::SlotStyle, firstrun::kSlots> slots;
    slots.fill({styleFile, bytes});
    const RunResult made = RunComposer(folder, [&](platform::Hwnd h) {
        const auto request =
            firstrun::FirstRunMake(slots, header.tempo, chords.completion->wParam, h);
        if (!request) return std::string();
        folder.Write("vPara.dat", request->vPara);
        return request->commandLine;
    });
    if (!made.composed) {
        ADD_FAILURE() << made.error;
        return {};
    }
    folder.Write("OdeToJoy-accompanied.mid", made.decoded);
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

    // The bass plays from the melody's first measure (4/4).
    constexpr std::int64_t kMeasureTicks = 4 * 384;
    std::int64_t melodyStart = -1, bassStart = -1;
    for (const ChannelEvent& e : parsed->events) {
        if (!e.IsNoteOn()) continue;
        if (e.channel == 0 && melodyStart < 0) melodyStart = e.tick;
        if (e.channel == kBassChannel && (bassStart < 0 || e.tick < bassStart)) bassStart = e.tick;
    }
    ASSERT_GE(melodyStart, 0);
    EXPECT_TRUE(bassStart >= 0 && bassStart / kMeasureTicks <= melodyStart / kMeasureTicks)
        << "the bass starts at tick " << bassStart;

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
