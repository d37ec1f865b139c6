// The three steps with the stand-in worker: time-outs, a late completion, failures with their
// error files, foreign completion codes, missing programs and damaged result files. Each ends
// with its message and the step buttons usable, and loses nothing the user had.
#include <signal.h>

#include <QTimer>
#include <filesystem>

#include "frontend/core/make_output.h"
#include "frontend/editors/chord_data.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "platform/completion.h"
#include "platform/qt/worker_timeout.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"

namespace corvane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kTimeOutBox =
    "critical|Orvella|Time Out error. Command aborted.\\nYou may have an incorrect version of "
    "Ambrel, Tressil or Compose installed.";

// The composer's output for the 8-measure waltz: its header and two tracks plain, then one
// composed track coded with `runCode`.
Bytes ComposeOutput(int runCode) {
    Bytes output = WaltzInG(8);
    const Bytes composed = {'M',  'T',  'r',  'k',  0,    0,    0,    8,
                            0x00, 0xB2, 0x07, 0x64, 0x00, 0xFF, 0x2F, 0x00};
    int counter = 1;
    for (std::uint8_t byte : composed) {
        if (counter < 255) ++counter;
        output.push_back(static_cast<std::uint8_t>(byte - runCode - counter));
    }
    return output;
}

std::string CParaFirstLine() {
    std::string line;
    for (int slot = 0; slot < 5; ++slot)
        line += "025 100 033 090 001 080 049 070 001 100 000 000; ";
    return line + "\r\n";
}

class WorkflowFakeTest : public WorkflowTest {
  protected:
    void SetUp() override {
        StartWithSong(8);
        WriteFile(folder() / "notes.src", "1,+,G,8,96,3/4\r\n");
    }
    // What Load In and Proceed leave for Make, without running them.
    void ReadyForMake() {
        g().LoadDone = true;
        g().ProceedDone = true;
        g().MyVmCode = 53;
        workflow().SongTimeSig = "3/4";
        SetWaltzStyles();
    }
    // Starts the command whose worker `program` is, with what it needs done before.
    void StartCommandOf(const std::string& program) {
        if (program == "Ambrel") {
            Click(main().PictLoad);
        } else if (program == "Tressil") {
            g().LoadDone = true;
            ProceedSaving({"001:02;G  Major"});
        } else {
            ReadyForMake();
            Click(main().PictMake);
        }
    }
    bool WaitIdle(int timeoutMs = 10000) {
        return WaitUntil([&] { return g().CmdRunning == 0; }, timeoutMs);
    }
    bool WaitLogged(const std::string& program, std::size_t lines, int timeoutMs = 10000) {
        return WaitUntil([&] { return FakeWorkerLog(folder(), program).size() >= lines; },
                         timeoutMs);
    }
};

TEST_F(WorkflowFakeTest, EachCommandTimesOutWithItsCaptionAndButtonsAndEndsItsWorker) {
    // Long enough for a loaded machine to start the fake before it is ended, far below its own
    // five seconds.
    platform::qt::SetWorkerTimeoutForTests(1000);
    const struct {
        const char* program;
        const char* caption;
    } cases[] = {
        {"Ambrel", "<Load In> command time out."},
        {"Tressil", "<Proceed> command time out."},
        {"Compose", "<Make> command time out."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        const std::string program = c.program;
        const std::string late = program + ".late";
        InstallFakeWorker(folder(), program,
                          "delay_ms=5000\ncode=none\ncopy=notes.src " + late + "\n");
        recorder.clear();
        StartCommandOf(program);
        EXPECT_NE(g().CmdRunning, 0);
        ASSERT_TRUE(WaitLogged(program, 1));
        const int pid = FakeWorkerProcessId(folder(), program);
        ASSERT_TRUE(WaitCaption(c.caption, 5000)) << Caption().toStdString();
        EXPECT_EQ(recorder.lines(), QStringList{kTimeOutBox});
        EXPECT_EQ(g().CmdRunning, 0);
        EXPECT_TRUE(g().CmdTimedOut);
        EXPECT_TRUE(main().PictProc->isEnabled() && main().PictMake->isEnabled());
        if (program == "Ambrel") {
            EXPECT_TRUE(main().PictLoad->isEnabled());
        }
        if (program == "Compose") {
            EXPECT_EQ(g().OutputRunCode, 1);
            EXPECT_TRUE(main().CmdTestOut->isEnabled() && main().PictTest->isEnabled() &&
                        main().PictEndT->isEnabled());
        }
        // Ended long before its own five seconds were up: it writes nothing under the next step.
        EXPECT_TRUE(WaitUntil([&] { return ::kill(pid, 0) != 0; }, 2000));
        EXPECT_FALSE(std::filesystem::exists(folder() / late));
    }
}

// A completion already on its way when the time-out ended the worker: the loader answers (its
// header written) while the window is busy, and the time-out comes first.
TEST_F(WorkflowFakeTest, LateCompletionOnlyClearsTheTimeOut) {
    InstallFakeWorker(folder(), "Ambrel", "code=47\ncopy=notes.src Notes.aco\n");
    Click(main().PictLoad);
    ASSERT_TRUE(WaitLoggedUnread(folder(), "Ambrel", 2));
    workflow().TimerMess_Timer();
    EXPECT_EQ(Caption(), "<Load In> command time out.");
    ASSERT_TRUE(WaitUntil([&] { return !g().CmdTimedOut; }, 5000));
    EXPECT_EQ(Caption(), "<Load In> command time out.");
    EXPECT_FALSE(g().LoadDone);
    EXPECT_EQ(main().LblMusicType->Caption(), "");
    EXPECT_EQ(recorder.lines(), QStringList{kTimeOutBox});
}

// Any process of the user can reach the window's handle. While Make waits, what another one
// sends there (here the test itself, which is not the composer) neither ends the wait nor lets
// a second composer start in the folder; the composer's own completion then completes Make.
TEST_F(WorkflowFakeTest, OnlyTheStartedWorkersCompletionEndsTheWait) {
    WriteFile(folder() / "output.bin", ComposeOutput(71));
    WriteFile(folder() / "good.cpara", CParaFirstLine() + "001:1\r\n");
    InstallFakeWorker(folder(), "Compose",
                      "delay_ms=1000\ncode=70\ncopy=output.bin ComposeOut.bin\n"
                      "copy=good.cpara cPara.dat\n");
    ReadyForMake();
    Click(main().PictMake);
    ASSERT_TRUE(WaitLogged("Compose", 1));
    const platform::Hwnd handle = main().CmdMessageWindow->hWnd();
    ASSERT_TRUE(
        platform::SendCompletion(handle, {platform::WM_KEYUP, 59, platform::kCompletionFailed}));
    ASSERT_TRUE(platform::SendCompletion(handle, {platform::WM_KEYUP, 70, 0}));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(g().CmdRunning, kMakeCommand);
    EXPECT_EQ(Caption(), "Creating Output Data...");
    Click(main().PictMake);
    workflow().CmdCompose_Click();
    EXPECT_EQ(FakeWorkerLog(folder(), "Compose").size(), 1u);  // one composer, still running

    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Caption(), "<Make> command complete.");
    EXPECT_TRUE(g().OutputReady);
    EXPECT_EQ(g().OutputRunCode, 71);
    EXPECT_EQ(FakeWorkerLog(folder(), "Compose").back(), "done 70 0");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(WorkflowFakeTest, LateCompletionReachesNoListenerWhenTheSameCommandRunsAgain) {
    platform::qt::SetWorkerTimeoutForTests(100);
    InstallFakeWorker(folder(), "Ambrel", "delay_ms=5000\ncode=none\n");
    Click(main().PictLoad);
    const platform::Hwnd old = main().CmdMessageWindow->hWnd();
    ASSERT_TRUE(WaitCaption("<Load In> command time out.", 5000));

    platform::qt::SetWorkerTimeoutForTests(0);
    InstallFakeWorker(folder(), "Ambrel", "delay_ms=300\ncode=47\ncopy=notes.src Notes.aco\n");
    Click(main().PictLoad);
    EXPECT_FALSE(g().CmdTimedOut);
    // The first run's failure, on its way when that run was ended, arrives now.
    WriteFile(folder() / "Error1.msg", std::string("late"));
    EXPECT_FALSE(
        platform::SendCompletion(old, {platform::WM_KEYUP, 47, platform::kCompletionFailed}));
    ASSERT_TRUE(WaitCaption("<Load In> command complete.", 5000)) << Caption().toStdString();
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(FakeWorkerLog(folder(), "Ambrel").back(), "done 47 0");
    EXPECT_EQ(Caption(), "<Load In> command complete.");
    EXPECT_TRUE(g().LoadDone);
    EXPECT_EQ(main().LblMusicType->Caption(), "G  Major, Tempo=96, 3/4");
    EXPECT_EQ(recorder.lines(), QStringList{kTimeOutBox});
}

TEST_F(WorkflowFakeTest, ComposerFailureShowsTheFirst120BytesAndKeepsTheLastOutput) {
    WriteFile(folder() / "earlier.bin", ComposeOutput(71));
    ASSERT_TRUE(g().Output.LoadComposeOutput((folder() / "earlier.bin").string(), 71));
    const Bytes earlier = g().Output.OutputBuf();

    std::string text;
    for (int i = 0; i < 300; ++i) text += static_cast<char>('A' + i % 26);
    InstallFakeWorker(folder(), "Compose",
                      "code=59\nfailed=1\nerror_file=Error3.msg\nerror_text=" + text + "\n");
    ReadyForMake();
    Click(main().PictMake);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(recorder.lines(),
              QStringList{QString::fromStdString("critical|Orvella|" + text.substr(0, 120))});
    EXPECT_EQ(Caption(), "Error while making output.");
    EXPECT_FALSE(g().OutputReady);
    EXPECT_EQ(g().Output.OutputBuf(), earlier);
    EXPECT_TRUE(main().PictMake->isEnabled() && main().CmdTestOut->isEnabled());
    EXPECT_FALSE(main().PictSave->isEnabled());
}

TEST_F(WorkflowFakeTest, MakeReplacesALinkAtThePlayOptionsFileAndLeavesItsTarget) {
    std::filesystem::create_directory(folder() / "keep");
    WriteFile(folder() / "keep" / "victim.txt", "untouched");
    std::filesystem::create_symlink(folder() / "keep" / "victim.txt", folder() / "vPara.dat");
    InstallFakeWorker(folder(), "Compose",
                      "code=59\nfailed=1\nerror_file=Error3.msg\nerror_text=stopped\n");
    ReadyForMake();
    Click(main().PictMake);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ReadText("keep/victim.txt"), "untouched");
    EXPECT_FALSE(std::filesystem::is_symlink(folder() / "vPara.dat"));
    EXPECT_EQ(ReadText("vPara.dat"), VParaText(app().slotTables));
}

TEST_F(WorkflowFakeTest, LoaderBangMessageOfAnImportedMelodyIsShown) {
    g().MelodyWorkerBusy = true;
    WriteFile(folder() / "InPut.bin", "imported melody");
    InstallFakeWorker(folder(), "Ambrel",
                      "code=47\nfailed=1\nerror_file=Error1.msg\n"
                      "error_text=!Unsupported Time Signature.\\r\\n\n");
    Click(main().PictLoad);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(recorder.lines(), QStringList{"critical|Orvella|!Unsupported Time Signature.\\n"});
    EXPECT_EQ(Caption(), "");
    EXPECT_FALSE(g().MelodyWorkerBusy);
    EXPECT_EQ(ReadText("InPut.bin"), "imported melody");
    EXPECT_FALSE(app().frmQuenby().isVisible());
}

TEST_F(WorkflowFakeTest, ForeignCompletionCodes) {
    const struct {
        const char* program;
        int code;
    } cases[] = {{"Ambrel", 46}, {"Compose", 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        InstallFakeWorker(folder(), c.program, "code=" + std::to_string(c.code) + "\n");
        StartCommandOf(c.program);
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(Caption(), "Executed command return bad.");
        EXPECT_FALSE(g().OutputReady);
        EXPECT_FALSE(main().PictProc->isEnabled());
        EXPECT_FALSE(main().PictMake->isEnabled());
        EXPECT_TRUE(main().PictLoad->isEnabled());  // the next Load In can start again
        main().PictProc->setEnabled(true);
        main().PictMake->setEnabled(true);
    }
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(WorkflowFakeTest, MissingWorkerProgram) {
    const struct {
        const char* program;
        const char* box;
    } cases[] = {
        {"Ambrel", "critical|Orvella|Cannot start Ambrel"},
        {"Tressil", "critical|Orvella|Cannot start Tressil"},
        {"Compose", "critical|Orvella|Cannot start Compose"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        std::filesystem::remove(folder() / c.program);
        recorder.clear();
        const std::string program = c.program;
        StartCommandOf(program);
        if (program == "Ambrel") {
            EXPECT_TRUE(main().PictLoad->isEnabled());
        } else {
            EXPECT_EQ(Caption(), "");
            EXPECT_FALSE(g().ProceedDone && program == "Tressil");
        }
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        EXPECT_EQ(g().CmdRunning, 0);
        EXPECT_TRUE(main().PictProc->isEnabled() && main().PictMake->isEnabled());
    }
}

TEST_F(WorkflowFakeTest, ChordMakerFailuresAndDamagedChordData) {
    std::string records;
    for (int m = 0; m < 8; ++m) {
        char record[40];
        std::snprintf(record, sizeof record, "%03d:0:G....:3:.....:0:%d:          ;", m, m == 0);
        records += record;
    }
    std::string damaged = records;
    damaged.erase(35 + 24, 1);  // the second record's comment one blank short
    const auto stored = [](const std::string& plain) {
        return editors::EncodeChordData(Bytes(plain.begin(), plain.end()), 53);
    };
    WriteFile(folder() / "good.aco", stored(records));
    WriteFile(folder() / "damaged.aco", stored(damaged));

    const struct {
        const char* what;
        std::string settings;
        QStringList boxes;
        const char* caption;
    } cases[] = {
        {"worker failure",
         "code=49\nfailed=1\nerror_file=Error2.msg\nerror_text=AcMode <= 0\n",
         {"critical|Orvella|AcMode <= 0", "critical|Orvella|Fatal Error: MyVmCode = 0"},
         "<Proceed> command error."},
        {"damaged record",
         "code=53\ncopy=damaged.aco Data.aco\n",
         {"critical|Orvella|Error found: <001:0:G....:3:.....:0:0:         ;>, Len = 34, line No "
          "1, "
          "last <000:0:G....:3:.....:0:1:          ;>, ByteNo = 70",
          "critical|Orvella|Load false. Invalid Chord Data. You may have an incorrect version of "
          "Tressil installed."},
         ""},
        {"no chord data",
         "code=53\n",
         {"critical|Orvella|Error: Invalid number of measures.",
          "critical|Orvella|Load false. Invalid Chord Data. You may have an incorrect version of "
          "Tressil installed."},
         ""},
        {"good data", "code=53\ncopy=good.aco Data.aco\n", {}, "<Proceed> command complete."},
    };
    g().LoadDone = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder() / "Data.aco");
        InstallFakeWorker(folder(), "Tressil", c.settings);
        recorder.clear();
        ProceedSaving({"001:02;G  Major"});
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(recorder.lines(), c.boxes);
        EXPECT_EQ(Caption(), c.caption);
        EXPECT_TRUE(main().PictProc->isEnabled() && main().PictMake->isEnabled());
        const bool good = c.boxes.isEmpty();
        EXPECT_EQ(g().ProceedDone, good);
        EXPECT_EQ(main().LstHa->count(), good ? 8 : 0);
        EXPECT_EQ(app().frmChord().LstTemp->count(), good ? 8 : 0);
        EXPECT_EQ(g().MyVmCode, good || std::string(c.what) != "worker failure" ? 53 : 0);
    }
}

TEST_F(WorkflowFakeTest, DamagedOrMissingComposerFiles) {
    const Bytes output = ComposeOutput(71);
    WriteFile(folder() / "output.bin", output);
    const Bytes truncated(output.begin(), output.begin() + 40);
    WriteFile(folder() / "truncated.bin", truncated);
    WriteFile(folder() / "good.cpara", CParaFirstLine() + "001:1\r\n005:2\r\n");
    WriteFile(folder() / "damaged.cpara", "025 100 033\r\n001:1\r\n");
    const struct {
        const char* what;
        std::string copies;
        QStringList boxes;
        const char* caption;
        bool ready;
        int sections;
    } cases[] = {
        {"good",
         "copy=output.bin ComposeOut.bin\ncopy=good.cpara cPara.dat\n",
         {},
         "<Make> command complete.",
         true,
         2},
        {"damaged section table",
         "copy=output.bin ComposeOut.bin\ncopy=damaged.cpara cPara.dat\n",
         {"critical|Orvella|The data in <cPara.dat> is invalid.\\nYou may have an incorrect "
          "version of Compose installed."},
         "<Make> command complete.",
         true,
         0},
        {"no section table",
         "copy=output.bin ComposeOut.bin\n",
         {"critical|Orvella|Cannot open data file <cPara.dat> for reading."},
         "<Make> command complete.",
         true,
         0},
        {"truncated output",
         "copy=truncated.bin ComposeOut.bin\ncopy=good.cpara cPara.dat\n",
         {},
         "Error while making output.",
         false,
         0},
    };
    ReadyForMake();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder() / "cPara.dat");
        app().slotTables.PartProgram(0, 0) = 7;
        InstallFakeWorker(folder(), "Compose", "code=70\n" + c.copies);
        recorder.clear();
        Click(main().PictMake);
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(recorder.lines(), c.boxes);
        EXPECT_EQ(Caption(), c.caption);
        EXPECT_EQ(g().OutputReady, c.ready);
        EXPECT_EQ(main().LstSections->count(), c.sections);
        EXPECT_EQ(app().slotTables.PartProgram(0, 0), c.sections > 0 ? 25 : 7);
        // The composer's output is deleted once it is in memory, kept when it could not be read.
        EXPECT_EQ(std::filesystem::exists(folder() / "ComposeOut.bin"), !c.ready);
        if (c.ready) {
            EXPECT_EQ(g().OutputRunCode, 71);
        }
        EXPECT_TRUE(main().PictMake->isEnabled());
    }
    EXPECT_EQ(main().LstSections->count(), 0);
}

}  // namespace
}  // namespace corvane::testing
