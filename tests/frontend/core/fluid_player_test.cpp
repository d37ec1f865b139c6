// The program's own player, FluidSynth with its audio driver off, on a song the real workers
// composed: its length is the output's bars in sixteenths, it moves within a second of Play,
// plays again after reaching the end, and closes to device 0; and through the main window, Play
// moves the bar display while the synthesizer, heard by no device, is rendered all the same (and
// the status line says it plays silently).
// Skipped only where no General MIDI sound font is installed (the test command installs one).
#include <QElapsedTimer>
#include <QThread>

#include "platform/qt/fluid_sequencer.h"
#include "platform/qt/mm_control.h"
#include "platform/sound_font.h"
#include "tests/frontend/support/workflow_harness.h"

namespace corvane::testing {
namespace {

using platform::qt::MMControl;

constexpr int kBars = 8;

class FluidPlayerTest : public WorkflowTest {
  protected:
    void SetUp() override {
        if (!platform::FindGeneralMidiSoundFont()) {
            GTEST_SKIP() << "no General MIDI sound font in /usr/share/sounds/sf2";
        }
        platform::qt::SetSequencerBackendMaker([](const std::string&) {
            return std::make_unique<platform::qt::FluidSynthSequencer>(false);
        });
        StartWithSong(kBars);
        // The first Proceed commits the section dialog's styles: the slots are set after it.
        LoadAndProceed();
        SetWaltzStyles();
        Click(main().PictMake);
        ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    }
    // Pumps events until `done` or `ms` of real time passed.
    static bool Within(int ms, const std::function<bool()>& done) { return WaitUntil(done, ms); }
};

TEST_F(FluidPlayerTest, PlaysAComposedOutputAgainAfterItsEndAndClosesToDeviceZero) {
    const std::string path = (folder() / "Composed.mid").string();
    ASSERT_TRUE(g().Output.WritePlayFile(path));
    MMControl player;
    player.SetFileName(QString::fromStdString(path));
    player.Command("Open");
    ASSERT_NE(player.DeviceID(), 0) << player.ErrorMessage().toStdString();
    // 3/4: twelve sixteenths a bar, and the output ends on a bar line.
    EXPECT_EQ(player.Length() % g().MsUnits, 0);
    const std::int64_t bars = player.Length() / g().MsUnits;
    EXPECT_TRUE(bars == g().ChordMsCount || bars == g().ChordMsCount + 1) << bars;

    player.SetFrom(0);
    player.Command("Play");
    EXPECT_EQ(player.Error(), 0);
    EXPECT_TRUE(Within(1000, [&] { return player.Position() > 0; })) << "the position stood still";
    EXPECT_EQ(player.Mode(), platform::qt::kModePlaying);

    // Near the end, to the end, and from the start again.
    player.SetFrom(player.Length() - 2);
    player.Command("Play");
    EXPECT_TRUE(Within(2000, [&] { return player.Mode() == platform::qt::kModeStopped; }));
    EXPECT_EQ(player.Position(), player.Length());
    player.SetFrom(0);
    player.Command("Play");
    EXPECT_TRUE(Within(1000, [&] {
        return player.Mode() == platform::qt::kModePlaying && player.Position() > 0 &&
               player.Position() < 12;
    })) << "no second play after the end";

    player.Command("Stop");
    const std::int64_t stoppedAt = player.Position();
    QThread::msleep(300);
    EXPECT_EQ(player.Position(), stoppedAt);
    EXPECT_EQ(player.Mode(), platform::qt::kModeStopped);
    player.Command("Close");
    EXPECT_EQ(player.DeviceID(), 0);
    EXPECT_EQ(player.Mode(), platform::qt::kModeNotReady);
}

TEST_F(FluidPlayerTest, PlayOnTheMainWindowMovesTheBarDisplay) {
    Click(main().PictTest);
    ASSERT_EQ(Caption(), "Ready To Play Output.");
    // With no device the synthesizer is still rendered: nothing floods stderr with dropped events.
    ::testing::internal::CaptureStderr();
    Click(main().PictPlay);
    EXPECT_EQ(main().LblHa->Caption(), "1");
    // Heard by no device, and the window says so.
    EXPECT_FALSE(main().MMControl1->Audible());
    EXPECT_EQ(Caption(), "No audio output: playing silently");
    // A bar of the waltz lasts 1.875 s.
    EXPECT_TRUE(WaitUntil([&] { return main().LblHa->Caption() == "2"; }, 4000))
        << main().LblHa->Caption().toStdString();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join(" / ").toStdString();
    Click(main().PictStop);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("Ringbuffer full"), std::string::npos) << said.substr(0, 300);
    Click(main().PictEndT);
}

// A song of `notes` short notes on every channel but the drums', one a tick at a very fast tempo.
std::vector<std::uint8_t> DenseSong(int notes) {
    std::vector<std::uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x10, 0x00};
    for (int i = 0; i < notes; ++i) {
        const auto channel = static_cast<std::uint8_t>(i % 15 < 9 ? i % 15 : i % 15 + 1);
        const auto key = static_cast<std::uint8_t>(36 + i % 48);
        for (std::uint8_t byte :
             {std::uint8_t{1}, std::uint8_t(0x90 | channel), key, std::uint8_t{100},
              std::uint8_t{0}, std::uint8_t(0x80 | channel), key, std::uint8_t{0}})
            track.push_back(byte);
    }
    for (std::uint8_t byte : {0x83, 0x00, 0xFF, 0x2F, 0x00}) track.push_back(byte);
    std::vector<std::uint8_t> song = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                                      0,   0,   1,   0x01, 0x80, 'M', 'T', 'r', 'k'};
    const auto length = static_cast<std::uint32_t>(track.size());
    for (int shift : {24, 16, 8, 0}) song.push_back(static_cast<std::uint8_t>(length >> shift));
    song.insert(song.end(), track.begin(), track.end());
    return song;
}

// A player stopped right after it started (as Play from a bar does, and quick clicks) is torn
// down while the thread that runs it may be in the middle of a call: nothing may crash, and with
// no device the synthesizer still takes every event.
TEST(FluidSilentPlayTest, StartedAndStoppedAgainAndAgainWithNoDevice) {
    if (!platform::FindGeneralMidiSoundFont()) {
        GTEST_SKIP() << "no General MIDI sound font in /usr/share/sounds/sf2";
    }
    const std::vector<std::uint8_t> song = DenseSong(3000);
    const auto timing = platform::qt::ScanSongTiming(song);
    ASSERT_TRUE(timing);
    platform::qt::FluidSynthSequencer player(false);
    std::string message;
    ASSERT_TRUE(player.Open("dense.mid", song, *timing, message)) << message;
    ::testing::internal::CaptureStderr();
    // Started and stopped again and again, as the transport does: each stop silences the voices.
    for (int start = 0; start < 20; ++start) {
        ASSERT_TRUE(player.Play(0, message)) << message;
        QThread::msleep(30);
        player.Stop();
    }
    player.Close();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("Ringbuffer full"), std::string::npos) << said.substr(0, 300);
}

}  // namespace
}  // namespace corvane::testing
