// The Exit button: every sound stops before anything is deleted, the exchange and work files of
// the program folder go (whatever their letter case) while the user's files, read-only files and
// everything outside the folder stay, nothing goes when the window was never activated, and the
// MIDI output is silenced through the audition's handle before that handle is closed.
#include <filesystem>
#include <fstream>

#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_about.h"
#include "frontend/styles/ui/style_panel.h"
#include "platform/qt/program_end.h"
#include "tests/frontend/core/playback_fixture.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

class ShutdownTest : public PlaybackTest {
  protected:
    ~ShutdownTest() override {
        std::error_code ignored;
        fs::permissions(folder() / "Mine.msg", fs::perms::owner_all, ignored);
    }
    // Files a user or an earlier run may have left; "Mine.msg" is read-only.
    void PlantFiles() {
        std::error_code ignored;
        fs::permissions(folder() / "Mine.msg", fs::perms::owner_all, ignored);
        for (const char* name : {"Old.DAT", "stale.err", "Other.Sti", "Notes2.ACO", "x.bin",
                                 "keep.qxs", "keep.mid", "keep.set", "Mine.msg"})
            WriteFile(folder() / name, std::string("x"));
        fs::create_directories(folder() / "songs");
        WriteFile(folder() / "songs" / "below.dat", std::string("x"));
        fs::permissions(folder() / "Mine.msg", fs::perms::owner_read, fs::perm_options::replace);
    }
    void ExitWhilePlaying(const std::string& player);
    std::vector<std::string> WorkFilesLeft() const {
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(folder())) {
            std::string extension = entry.path().extension().string();
            for (char& c : extension) c = static_cast<char>(std::tolower(c));
            for (const char* pattern : {".sti", ".dat", ".bin", ".msg", ".aco", ".err"}) {
                if (extension == pattern) left.push_back(entry.path().filename().string());
            }
        }
        std::sort(left.begin(), left.end());
        return left;
    }
};

// Exit while `player` plays: the player is closed while every file is still there, and then the
// work files go.
void ShutdownTest::ExitWhilePlaying(const std::string& player) {
    OpenOutput();
    PlantFiles();
    if (player == "MMControl1") {
        Click(main().PictPlay);
    } else {
        Click(main().PictEndT);
        Click(main().PictTeIn);
    }
    Advance(kMsPerBar);
    ASSERT_NE((player == "MMControl1" ? main().MMControl1 : main().MMControl2)->DeviceID(), 0);
    // The other player open as well (the buttons never allow both), so that both closes are seen.
    platform::qt::MMControl& other =
        player == "MMControl1" ? *main().MMControl2 : *main().MMControl1;
    other.SetFileName(QString::fromStdString(songPath));
    other.Command("Open");
    ASSERT_NE(other.DeviceID(), 0);
    ASSERT_TRUE(fs::exists(folder() / "KeysData.Aco") && fs::exists(folder() / "Data.aco"));
    // The players closed, each while every file was still there.
    std::vector<std::string> closedWithFilesThere;
    sequencer.OnCommand([&](const std::string& line) {
        if (line.ends_with(" Close") && fs::exists(folder() / "KeysData.Aco") &&
            fs::exists(folder() / "Old.DAT"))
            closedWithFilesThere.push_back(line);
    });

    Click(main().PictExit);
    sequencer.OnCommand(nullptr);
    EXPECT_EQ(closedWithFilesThere,
              (std::vector<std::string>{"MMControl1 Close", "MMControl2 Close"}))
        << "a file went before both players closed";
    EXPECT_EQ(main().MMControl1->DeviceID(), 0);
    EXPECT_EQ(main().MMControl2->DeviceID(), 0);
    EXPECT_EQ(WorkFilesLeft(), std::vector<std::string>{"Mine.msg"});
    for (const char* kept :
         {"keep.qxs", "keep.mid", "keep.set", "songs/below.dat", "Jw3430.sty", "Compose"})
        EXPECT_TRUE(fs::exists(folder() / kept)) << kept;
    EXPECT_TRUE(main().isHidden());
    EXPECT_TRUE(app().frmAbout().isHidden());
    EXPECT_EQ(Caption(), "");
    EXPECT_FALSE(main().TimerOnLine->Enabled());
    EXPECT_EQ(platform::qt::ProgramEndCode(), 0);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join(" / ").toStdString();
}

TEST_F(ShutdownTest, ExitWhileTheOutputPlaysClosesItBeforeCleaningTheFolder) {
    ExitWhilePlaying("MMControl1");
}

TEST_F(ShutdownTest, ExitWhileTheInputPlaysClosesItBeforeCleaningTheFolder) {
    ExitWhilePlaying("MMControl2");
}

TEST_F(ShutdownTest, ExitBeforeTheWindowWasActivatedDeletesNothing) {
    OpenOutput();
    PlantFiles();
    const std::vector<std::string> before = WorkFilesLeft();
    g().MainActivated = false;
    Click(main().PictExit);
    EXPECT_EQ(WorkFilesLeft(), before);
    EXPECT_EQ(main().MMControl1->DeviceID(), 0) << "the players close all the same";
}

// The messages of AllNotesOff and then the close, all to `handle`.
std::vector<std::string> SilencingOf(const platform::qt::MidiOutRecorder& midiOut) {
    std::vector<std::string> sent;
    for (const std::string& line : midiOut.Lines()) sent.push_back(line.substr(line.find("h=")));
    return sent;
}

std::vector<std::string> Expected(platform::qt::MidiOutHandle handle) {
    const std::string h = "h=" + std::to_string(handle) + " ";
    return {h + "B1 7B 00", h + "B2 7B 00", h + "B3 7B 00",
            h + "B4 7B 00", h + "B9 7B 00", h + "close"};
}

TEST_F(ShutdownTest, ExitSilencesARunningAuditionThroughItsHandleBeforeClosingIt) {
    StartWithSong(kSongBars);
    main().LblProgNum[1]->SetCaption("25");
    main().stylePanel().LblProgNum_MouseDown(1, styles::kRightButton);
    const auto handle = main().stylePanel().audition().handle;
    ASSERT_NE(handle, 0u);
    midiOut.Clear();
    Click(main().PictExit);
    EXPECT_EQ(SilencingOf(midiOut), Expected(handle));
    for (const auto& entry : midiOut.entries()) EXPECT_TRUE(entry.accepted);
}

TEST_F(ShutdownTest, ExitWithoutAnAuditionSendsToTheEmptyHandleWhichIgnoresIt) {
    StartWithSong(kSongBars);
    midiOut.Clear();
    Click(main().PictExit);
    EXPECT_EQ(SilencingOf(midiOut), Expected(0));
    for (const auto& entry : midiOut.entries()) EXPECT_FALSE(entry.accepted);
}

}  // namespace
}  // namespace corvane::testing
