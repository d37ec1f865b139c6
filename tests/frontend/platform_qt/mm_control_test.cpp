// The player control over the fake backend: opening refuses a missing or unplayable song with
// its error, a song plays from its start position on the test's clock, stops where it is, ends
// at its length, reports errors that stop it, and raises status updates only while open.
#include "platform/qt/mm_control.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "platform/qt/fake_sequencer.h"
#include "platform/qt/virtual_clock.h"
#include "tests/support/hex_text.h"

namespace platform::qt {
namespace {

// Two bars of 4/4 at 96 ticks per quarter note: 32 sixteenths.
const char* const kTwoBars = R"("MThd" 00000006 0001 0001 0060
                                 "MTrk" 0000000D  00 90 3C 64  86 00 80 3C 00  00 FF 2F 00)";

class MMControlTest : public ::testing::Test {
  protected:
    MMControlTest() { player.setObjectName("Player"); }
    QString Write(const char* name, const std::vector<std::uint8_t>& bytes) {
        const QString path = dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    void OpenTwoBars() {
        player.SetFileName(Write("two.mid", testsupport::BytesFromHexText(kTwoBars)));
        player.Command("Open");
        ASSERT_NE(player.DeviceID(), 0);
    }

    VirtualClock clock;
    FakeSequencer fake;
    QTemporaryDir dir;
    MMControl player;
};

TEST_F(MMControlTest, OpenRefusesWhatCannotBePlayedWithItsError) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;  // empty: no file
        int error;
    } cases[] = {
        {"missing.mid", {}, kErrorFileNotFound},
        {"text.mid", {'h', 'e', 'l', 'l', 'o'}, kErrorInvalidFile},
        {"empty.mid", {0}, kErrorInvalidFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = c.bytes.empty() ? dir.filePath(c.name) : Write(c.name, c.bytes);
        player.SetFileName(path);
        player.Command("Open");
        EXPECT_EQ(player.DeviceID(), 0);
        EXPECT_EQ(player.Error(), c.error);
        EXPECT_TRUE(player.ErrorMessage().contains(path)) << player.ErrorMessage().toStdString();
        EXPECT_EQ(player.Mode(), kModeNotReady);
    }
    // A folder is no song either.
    player.SetFileName(dir.path());
    player.Command("Open");
    EXPECT_EQ(player.Error(), kErrorFileNotFound);
    EXPECT_TRUE(fake.Lines().empty()) << "nothing reached the device";
}

TEST_F(MMControlTest, PlaysFromItsStartPositionStopsAndEndsAtItsLength) {
    OpenTwoBars();
    EXPECT_EQ(player.Error(), kErrorNone);
    EXPECT_EQ(player.Length(), 32);
    EXPECT_EQ(player.Mode(), kModeStopped);
    EXPECT_EQ(player.Position(), 0);

    player.SetFrom(8);
    player.Command("Play");
    EXPECT_EQ(player.Mode(), kModePlaying);
    clock.Advance(125 * 4);
    EXPECT_EQ(player.Position(), 12);
    player.Command("Stop");
    clock.Advance(1000);
    EXPECT_EQ(player.Mode(), kModeStopped);
    EXPECT_EQ(player.Position(), 12) << "a stop keeps the position";
    // Without a new start position the song goes on where it stopped.
    player.Command("Play");
    clock.Advance(125 * 30);
    EXPECT_EQ(player.Mode(), kModeStopped) << "the song is over";
    EXPECT_EQ(player.Position(), 32);

    const int device = player.DeviceID();
    player.Command("Close");
    EXPECT_EQ(player.DeviceID(), 0);
    EXPECT_EQ(player.Mode(), kModeNotReady);
    player.Command("Play");  // nothing is open: nothing happens
    OpenTwoBars();
    EXPECT_NE(player.DeviceID(), device) << "device numbers are not reused";
    EXPECT_EQ(fake.Lines(),
              (std::vector<std::string>{"Player Open " + dir.filePath("two.mid").toStdString(),
                                        "Player Play from 8", "Player Stop", "Player Play from 12",
                                        "Player Close",
                                        "Player Open " + dir.filePath("two.mid").toStdString()}));
}

TEST_F(MMControlTest, StatusUpdatesComeOnlyWhileOpenAndAnIntervalIsSet) {
    int updates = 0;
    QObject::connect(&player, &MMControl::StatusUpdate, [&] { ++updates; });
    player.SetUpdateInterval(100);
    clock.Advance(1000);
    EXPECT_EQ(updates, 0) << "no device, no updates";
    OpenTwoBars();
    clock.Advance(1000);
    EXPECT_EQ(updates, 10);
    player.SetUpdateInterval(0);
    clock.Advance(1000);
    EXPECT_EQ(updates, 10);
    player.SetUpdateInterval(200);
    clock.Advance(1000);
    EXPECT_EQ(updates, 15);
    player.Command("Close");
    clock.Advance(1000);
    EXPECT_EQ(updates, 15);
}

TEST_F(MMControlTest, AnErrorWhilePlayingStopsItAndTheNextCommandClearsIt) {
    OpenTwoBars();
    player.SetUpdateInterval(100);
    player.Command("Play");
    fake.FailWhilePlaying("Player", 5, "The synthesizer went away.");
    int error = -1;
    QObject::connect(&player, &MMControl::StatusUpdate, [&] { error = player.Error(); });
    clock.Advance(100);
    EXPECT_EQ(error, 5);
    EXPECT_EQ(player.ErrorMessage(), "The synthesizer went away.");
    EXPECT_EQ(player.Mode(), kModeStopped);
    EXPECT_NE(player.DeviceID(), 0) << "the device stays open";
    player.Command("Play");
    EXPECT_EQ(player.Error(), kErrorNone);
    EXPECT_EQ(player.Mode(), kModePlaying);
}

// A backend with no audio device: what it plays is heard nowhere; its plays fail while `refuse`
// is set.
class UnheardBackend : public SequencerBackend {
  public:
    explicit UnheardBackend(const bool& refuse) : refuse_(refuse) {}
    bool Open(const std::string&, std::span<const std::uint8_t>, const SongTiming&,
              std::string&) override {
        return true;
    }
    bool Play(std::int64_t, std::string& message) override {
        running_ = !refuse_;
        if (refuse_) message = "The MIDI synthesizer cannot play the song.";
        return running_;
    }
    void Stop() override { running_ = false; }
    void Close() override { running_ = false; }
    std::int64_t Position() override { return 0; }
    bool Running() override { return running_; }
    bool Audible() override { return !running_; }

  private:
    const bool& refuse_;
    bool running_ = false;
};

TEST_F(MMControlTest, OnlyASongPlayingUnheardIsInaudible) {
    bool refuse = false;
    SetSequencerBackendMaker(
        [&](const std::string&) { return std::make_unique<UnheardBackend>(refuse); });
    OpenTwoBars();
    EXPECT_TRUE(player.Audible()) << "nothing plays yet";
    player.Command("Play");
    EXPECT_FALSE(player.Audible());
    player.Command("Stop");
    EXPECT_TRUE(player.Audible()) << "nothing plays any more";
    // A play that cannot start plays nothing, heard or not.
    player.Command("Play");
    player.Command("Stop");
    refuse = true;
    player.Command("Play");
    EXPECT_EQ(player.Error(), kErrorNoSynthesizer);
    EXPECT_TRUE(player.Audible());
    player.Command("Close");
}

}  // namespace
}  // namespace platform::qt
