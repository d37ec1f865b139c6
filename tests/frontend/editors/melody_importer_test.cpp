// The melody importer dialog with the stand-in importer, detector and song loader: the exact
// command lines of an import and of a generate run, Load In after success, the error file after
// a failure, a time-out that ends the worker, a program that cannot start, and the key
// detection run, whose time-out is the dialog's own business.
#include <signal.h>

#include <QCoreApplication>
#include <fstream>

#include "frontend/editors/ui/frm_quenby.h"
#include "platform/completion.h"
#include "platform/qt/worker_timeout.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"

namespace corvane::testing {
namespace {

using editors::FrmQuenby;

const char* const kImporterTimeOutBox =
    "critical|Orvella|Time Out error. Command aborted.\\nYou may have an incorrect version of "
    "Quenby installed.";
const char* const kDetectorTimeOutBox =
    "critical|Orvella|Time Out error. Command aborted.\\nYou may have an incorrect version of "
    "Sorvik installed.";

class MelodyImporterTest : public WorkflowTest {
  protected:
    void SetUp() override {
        StartWithSong(8);
        // The activation the start-up asked for arrives before the dialog is shown.
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        WriteFile(folder() / "notes.src", std::string("1,+,G,8,96,3/4\r\n"));
        InstallFakeWorker(folder(), "Ambrel", "code=47\ncopy=notes.src Notes.aco\n");
        QObject::connect(main().LblInName, &platform::qt::CaptionLabel::Change, main().LblInName,
                         [this] { captions << Caption(); });
    }
    FrmQuenby& quenby() { return app().frmQuenby(); }

    // What the opener leaves for an import: the chosen song as the importer's input.
    void OpenForImport() {
        WriteFile(folder() / "InpMel.bin", WaltzInG(8));
        quenby().show();
    }
    std::vector<std::string> StartLines(const char* program) {
        std::vector<std::string> starts;
        for (const std::string& line : FakeWorkerLog(folder(), program)) {
            if (line.rfind("start ", 0) == 0) starts.push_back(line.substr(6));
        }
        return starts;
    }
    bool WaitLogged(const char* program, std::size_t lines, int timeoutMs = 10000) {
        return WaitUntil([&] { return FakeWorkerLog(folder(), program).size() >= lines; },
                         timeoutMs);
    }
    // The line the importer must get: `tokens` (1 to 10), their sum with the handle, the
    // handle the dialog put on it, and the mode.
    static std::string Expected(const std::vector<int>& tokens, const std::string& logged,
                                int mode) {
        const std::uint32_t handle = static_cast<std::uint32_t>(
            std::stoul(logged.substr(logged.rfind(' ', logged.size() - 3) + 1)));
        std::string line;
        std::int64_t sum = handle;
        for (int token : tokens) {
            line += std::to_string(token) + " ";
            sum += token;
        }
        return line + std::to_string(sum) + " " + std::to_string(handle) + " " +
               std::to_string(mode);
    }
    bool MainButtonsEnabled() {
        return main().PictMiVi->isEnabled() && main().PictLoad->isEnabled();
    }

    QStringList captions;
};

TEST_F(MelodyImporterTest, ImportRunsWithTheFieldsLimitedAndSuccessLoadsTheSong) {
    InstallFakeWorker(folder(), "Quenby", "delay_ms=100\ncode=51\n");
    OpenForImport();
    quenby().OptTrk[4]->click();
    quenby().CmbTime->setCurrentIndex(3);
    quenby().CmbKey->setCurrentIndex(25);
    quenby().ChkNhan2->setChecked(true);
    quenby().TxtIntro->setText("25");
    quenby().TxtScaleVol->setText("500");
    EXPECT_EQ(quenby().LblKey->Caption(), "-5");
    quenby().CmdLoadIn->click();

    // Started: the dialog hides, the main window waits for the song.
    EXPECT_FALSE(quenby().isVisible());
    EXPECT_EQ(quenby().TxtIntro->text(), "16");
    EXPECT_EQ(quenby().TxtScaleVol->text(), "200");
    EXPECT_EQ(Caption(), "Import and Converting melody...");
    EXPECT_TRUE(g().MelodyWorkerBusy);
    EXPECT_FALSE(g().UseMelodyTitle);
    EXPECT_FALSE(main().PictMiVi->isEnabled() || main().PictLoad->isEnabled());

    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    const std::vector<std::string> starts = StartLines("Quenby");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], Expected({5, 6, -5, 70, 120, 2, 1, 16, 0, 200}, starts[0], 0));
    EXPECT_EQ(StartLines("Ambrel").size(), 1u);
    EXPECT_TRUE(captions.contains("<Quenby> command complete."));
    EXPECT_EQ(captions.indexOf("<Quenby> command complete.") + 1,
              captions.indexOf("Creating Input Data..."));
    EXPECT_EQ(g().SongTitle, "waltz");
    EXPECT_FALSE(g().MelodyWorkerBusy);
    EXPECT_TRUE(MainButtonsEnabled());
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();

    // The next showing selects the track of the last run again.
    quenby().OptTrk[0]->setChecked(true);
    quenby().show();
    EXPECT_TRUE(quenby().OptTrk[4]->isChecked());
    EXPECT_EQ(quenby().Tag, "0");
}

TEST_F(MelodyImporterTest, GenerateRunNeedsNoSongNameAndTitlesTheSongEmpty) {
    InstallFakeWorker(folder(), "Quenby", "delay_ms=100\ncode=51\n");
    main().TxtInName->setText("");
    g().InputFromLoadIn = true;
    quenby().show();
    quenby().CmbKey->setCurrentIndex(4);
    quenby().CmbTime->setCurrentIndex(1);
    quenby().TxtTempo->setText("100");
    quenby().CmdAutoMusic->click();
    EXPECT_TRUE(g().UseMelodyTitle);
    EXPECT_FALSE(g().InputFromLoadIn);
    EXPECT_EQ(g().MelodyTitle, "");

    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    const std::vector<std::string> starts = StartLines("Quenby");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], Expected({1, 3, 2, 62, 100, 1, 1, 0, 0, 100}, starts[0], 1));
    EXPECT_EQ(StartLines("Ambrel").size(), 1u);
    EXPECT_TRUE(g().InputFromLoadIn);
    EXPECT_TRUE(g().LoadDone);
    EXPECT_EQ(g().SongTitle, "");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(MelodyImporterTest, FailureShowsTheErrorFileAndKeepsTheSongInput) {
    std::string long_text;
    for (int i = 0; i < 300; ++i) long_text += static_cast<char>('a' + i % 26);
    const struct {
        const char* what;
        std::string settings;
        QString box;
    } cases[] = {
        {"empty error file", "code=51\nfailed=1\nerror_file=Error4.msg\nerror_text=\n",
         "critical|Orvella|There is an unexpected error returned."},
        {"no error file", "code=51\nfailed=1\n",
         "critical|Orvella|There is an unexpected error returned."},
        {"300 bytes", "code=51\nfailed=1\nerror_file=Error4.msg\nerror_text=" + long_text + "\n",
         QString::fromStdString("critical|Orvella|" + long_text.substr(0, 120))},
        {"a refused source",
         "code=51\nfailed=1\nerror_file=Error4.msg\nerror_text=No note in the track.\\r\\n\n",
         "critical|Orvella|No note in the track.\\n"},
    };
    WriteFile(folder() / "InPut.bin", std::string("the current song"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.clear();
        WriteFile(folder() / "Error4.msg", std::string("left from an earlier run"));
        InstallFakeWorker(folder(), "Quenby", c.settings);
        quenby().show();
        quenby().CmdAutoMusic->click();
        ASSERT_TRUE(WaitCaption("<Quenby> command error.", 10000)) << Caption().toStdString();
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        EXPECT_FALSE(g().MelodyWorkerBusy);
        EXPECT_FALSE(g().UseMelodyTitle);
        EXPECT_TRUE(MainButtonsEnabled());
    }
    EXPECT_TRUE(StartLines("Ambrel").empty());
    EXPECT_EQ(ReadText("InPut.bin"), "the current song");
}

TEST_F(MelodyImporterTest, TimeOutEndsTheWorkerAndLoadInTakesTheChosenSongAgain) {
    // Long enough for a loaded machine to start the fake before it is ended, far below its own
    // five seconds.
    platform::qt::SetWorkerTimeoutForTests(1000);
    InstallFakeWorker(folder(), "Quenby", "delay_ms=5000\ncode=51\n");
    quenby().show();
    quenby().CmdAutoMusic->click();
    ASSERT_TRUE(WaitLogged("Quenby", 1));
    const int pid = FakeWorkerProcessId(folder(), "Quenby");
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitCaption("<Quenby> command time out.", 5000)) << Caption().toStdString();
    EXPECT_EQ(recorder.lines(), QStringList{kImporterTimeOutBox});
    // Ended long before its own five seconds were up.
    EXPECT_TRUE(WaitUntil([&] { return ::kill(pid, 0) != 0; }, 2000));
    EXPECT_EQ(FakeWorkerLog(folder(), "Quenby").size(), 1u);
    EXPECT_FALSE(g().MelodyWorkerBusy);
    EXPECT_FALSE(g().UseMelodyTitle);
    EXPECT_TRUE(quenby().MessTimedOut);
    EXPECT_TRUE(MainButtonsEnabled());

    WriteFile(folder() / "InPut.bin", std::string("what the worker left"));
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    EXPECT_EQ(ReadText("InPut.bin"), ReadText("songs/waltz.mid"));
    EXPECT_EQ(g().SongTitle, "waltz");
}

TEST_F(MelodyImporterTest, ProgramsThatCannotStart) {
    std::filesystem::remove(folder() / "Quenby");
    std::filesystem::remove(folder() / "Sorvik");
    quenby().show();
    quenby().CmdKeyDetect->click();
    EXPECT_EQ(quenby().LblKeyFindInfo->Caption(), "Could not start Sorvik");
    EXPECT_TRUE(quenby().CmdLoadIn->isEnabled() && quenby().CmdAutoMusic->isEnabled());

    quenby().CmdAutoMusic->click();
    EXPECT_EQ(recorder.lines(), QStringList{"critical|Orvella|Cannot start Quenby"});
    EXPECT_TRUE(MainButtonsEnabled());
    EXPECT_FALSE(g().MelodyWorkerBusy);
    EXPECT_FALSE(g().UseMelodyTitle);
    EXPECT_FALSE(quenby().TimerMlMess->Enabled());
    EXPECT_EQ(Caption(), "");
}

TEST_F(MelodyImporterTest, KeyDetectionProposesTheOverallKey) {
    WriteFile(folder() / "keycode.src", std::string("07\r\n"));
    WriteFile(folder() / "InPut.bin", WaltzInG(8));
    const struct {
        const char* what;
        const char* settings;
        const char* notice;
        const char* key;
    } cases[] = {
        {"found", "code=46\ncopy=keycode.src KeyCode.dat\n", "Key detection completed.",
         "F# Minor"},
        {"not found", "code=46\nfailed=1\n", "Sorry. Key not detected.", "B  Minor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFakeWorker(folder(), "Sorvik", c.settings);
        quenby().show();
        quenby().CmbKey->setCurrentIndex(5);
        quenby().CmdKeyDetect->click();
        EXPECT_EQ(quenby().LblKeyFindInfo->Caption(), "Sorvik started...");
        EXPECT_FALSE(quenby().CmdLoadIn->isEnabled() || quenby().CmdAutoMusic->isEnabled());
        ASSERT_TRUE(WaitUntil([&] { return quenby().CmdAutoMusic->isEnabled(); }));
        EXPECT_EQ(quenby().LblKeyFindInfo->Caption(), c.notice);
        EXPECT_EQ(quenby().CmbKey->currentText(), c.key);
        EXPECT_TRUE(quenby().isVisible());
    }
    const std::string start = StartLines("Sorvik").front();
    const std::uint32_t handle = static_cast<std::uint32_t>(std::stoul(start));
    EXPECT_EQ(start,
              std::to_string(handle) + " 2426 " + std::to_string(handle + 31470952 + 2426) + " 0");
    EXPECT_EQ(quenby().LblKey->Caption(), "+2");

    // A click on a track option: the proposal was for the song input, not for that track.
    quenby().OptTrk[3]->click();
    EXPECT_FALSE(quenby().CmdKeyDetect->isEnabled());
    EXPECT_EQ(quenby().LblKeyFindInfo->Caption(), "");
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(MelodyImporterTest, KeyDetectionTimeOutEndsTheDetectorAndTouchesOnlyTheDialog) {
    platform::qt::SetWorkerTimeoutForTests(150);
    WriteFile(folder() / "keycode.src", std::string("07\r\n"));
    InstallFakeWorker(folder(), "Sorvik", "delay_ms=3000\ncode=46\ncopy=keycode.src KeyCode.dat\n");
    main().LblInName->SetCaption("before");
    main().PictLoad->setEnabled(false);
    ASSERT_TRUE(main().PictMiVi->isEnabled());
    quenby().show();
    quenby().CmdLoadIn->setEnabled(false);  // as the opener leaves it without a song to import
    quenby().CmdKeyDetect->click();
    const qint64 pid = quenby().workerProcess;
    const platform::Hwnd handle = quenby().CmdMessWindow->hWnd();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntil([&] { return quenby().LblKeyFindInfo->Caption() == "Time Out error."; }));
    EXPECT_EQ(recorder.lines(), QStringList{kDetectorTimeOutBox});
    EXPECT_EQ(Caption(), "before");
    EXPECT_TRUE(main().PictMiVi->isEnabled());
    EXPECT_FALSE(main().PictLoad->isEnabled());
    EXPECT_FALSE(g().MelodyWorkerBusy);
    EXPECT_TRUE(quenby().CmdAutoMusic->isEnabled());
    EXPECT_FALSE(quenby().CmdLoadIn->isEnabled());
    // Ended long before its own three seconds were up.
    EXPECT_TRUE(WaitUntil([&] { return ::kill(static_cast<pid_t>(pid), 0) != 0; }, 1500));
    EXPECT_FALSE(std::filesystem::exists(folder() / "KeyCode.dat"));

    // Someone else's completion at the run's handle is not the detector's late one.
    ASSERT_TRUE(platform::SendCompletion(handle, {platform::WM_KEYUP, 46, 0}));
    WaitUntil([] { return false; }, 200);
    EXPECT_TRUE(quenby().MessTimedOut);

    // A completion already on its way when the time-out came (its key written) changes nothing:
    // the detector answers while the dialog is busy, and the time-out comes first.
    platform::qt::SetWorkerTimeoutForTests(0);
    std::filesystem::remove(folder() / "Sorvik.fake.log");
    InstallFakeWorker(folder(), "Sorvik", "code=46\ncopy=keycode.src KeyCode.dat\n");
    quenby().CmdKeyDetect_Click();
    ASSERT_TRUE(WaitLoggedUnread(folder(), "Sorvik", 2));
    quenby().TimerMlMess_Timer();
    EXPECT_TRUE(quenby().MessTimedOut);
    ASSERT_TRUE(WaitUntil([&] { return !quenby().MessTimedOut; }));
    EXPECT_TRUE(std::filesystem::exists(folder() / "KeyCode.dat"));
    EXPECT_EQ(quenby().LblKeyFindInfo->Caption(), "Time Out error.");
    EXPECT_EQ(quenby().CmbKey->currentText(), "C  Major");
    EXPECT_EQ(recorder.lines(), (QStringList{kDetectorTimeOutBox, kDetectorTimeOutBox}));
}

TEST_F(MelodyImporterTest, FieldsTakeTheirLimitsWhenLeft) {
    const struct {
        QLineEdit* FrmQuenby::*field;
        void (FrmQuenby::*leave)();
        const char* typed;
        const char* shown;
    } cases[] = {
        {&FrmQuenby::TxtTempo, &FrmQuenby::TxtTempo_LostFocus, "10", "20"},
        {&FrmQuenby::TxtTempo, &FrmQuenby::TxtTempo_LostFocus, "300", "240"},
        {&FrmQuenby::TxtTempo, &FrmQuenby::TxtTempo_LostFocus, "96 bpm", "96"},
        {&FrmQuenby::TxtIntro, &FrmQuenby::TxtIntro_LostFocus, "25", "16"},
        {&FrmQuenby::TxtEnding, &FrmQuenby::TxtEnding_LostFocus, "x", "0"},
        {&FrmQuenby::TxtScaleVol, &FrmQuenby::TxtScaleVol_LostFocus, "500", "200"},
        {&FrmQuenby::TxtScaleVol, &FrmQuenby::TxtScaleVol_LostFocus, "", "50"},
    };
    for (const auto& c : cases) {
        QLineEdit* field = quenby().*c.field;
        field->setText(c.typed);
        (quenby().*c.leave)();
        EXPECT_EQ(field->text(), c.shown) << c.typed;
    }
}

}  // namespace
}  // namespace corvane::testing
