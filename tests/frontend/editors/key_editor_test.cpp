// The key list dialog: editing the list, loading and saving "KeysData.Aco", and the key
// detector's runs with the stand-in detector (its command line, its results, a failure, a
// time-out that ends it and a late completion, a missing program) and once with the real one.
#include <signal.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <fstream>

#include "frontend/editors/ui/frm_keys.h"
#include "platform/completion.h"
#include "platform/qt/worker_timeout.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/gui_harness.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {
namespace {

using editors::FrmKeys;

const char* const kDetectorTimeOutBox =
    "critical|Orvella|Time Out error. Command aborted.\\nYou may have an incorrect version of "
    "Sorvik installed.";

class KeyEditorTest : public CorvaneTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
        // The activation the start-up asked for arrives before the dialog is shown.
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    FrmKeys& keys() { return app().frmKeys(); }

    // Shows the dialog modeless, as the main window's key label does.
    void Open(const QString& tag) {
        keys().Tag = tag;
        keys().show();
    }
    void Add(int measure, int code) {
        keys().TxtMsNo->setText(QString::number(measure));
        keys().CmbKey->setCurrentIndex(code);
        keys().CmdAddLine_Click();
    }
    QStringList Items(platform::qt::SortedListBox* list) {
        QStringList items;
        for (int row = 0; row < list->count(); ++row) items << list->List(row);
        return items;
    }
    std::string ReadText(const char* name) {
        std::ifstream in(folder() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool ButtonsEnabled() {
        FrmKeys& k = keys();
        for (QPushButton* b : {k.CmdAddLine, k.CmdRemoveLine, k.CmdRemoveAll, k.CmdKeyDetect,
                               k.CmdOk, k.CmdCancel}) {
            if (!b->isEnabled()) return false;
        }
        return true;
    }
    bool WaitLogged(const char* program, std::size_t lines, int timeoutMs = 10000) {
        return WaitUntil([&] { return FakeWorkerLog(folder(), program).size() >= lines; },
                         timeoutMs);
    }
};

TEST_F(KeyEditorTest, AddReplacesTheSameMeasureAndSaveDropsRepeatedKeys) {
    Open("NoKeysChInfo");
    EXPECT_EQ(keys().LblKey->Caption(), "0");
    Add(20, 2);
    Add(1, 0);
    Add(10, 0);
    EXPECT_EQ(Items(keys().LstKeyChPoints),
              (QStringList{"001:00;C  Major", "010:00;C  Major", "020:02;G  Major"}));
    EXPECT_EQ(Items(keys().LstKeyUser),
              (QStringList{"001: C  Major", "010: C  Major", "020: G  Major"}));
    EXPECT_EQ(keys().LstKeyUser->currentRow(), 1);  // the new item is selected
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(),
              "At the Measure 010 the key will change to <C  Major>");

    // Adding at a measure already in the list replaces its key.
    Add(20, 3);
    EXPECT_EQ(Items(keys().LstKeyUser),
              (QStringList{"001: C  Major", "010: C  Major", "020: E  Minor"}));
    EXPECT_EQ(keys().LblKey->Caption(), "+1");
    Add(20, 2);

    app().g.KeysChanged = false;
    keys().CmdOk_Click();
    EXPECT_EQ(ReadText("KeysData.Aco"), "001:00;C  Major\r\n020:02;G  Major\r\n");
    EXPECT_TRUE(app().g.KeysChanged);
    EXPECT_FALSE(keys().isVisible());
    EXPECT_TRUE(recorder.lines().isEmpty());
}

// A key list that cannot be written must not let Proceed go on to the chord maker.
TEST_F(KeyEditorTest, SaveThatCannotWriteKeepsTheDialogOpen) {
    std::filesystem::create_directory(folder() / "KeysData.Aco");
    Open("NoKeysChInfo");
    Add(12, 2);
    app().g.KeysChanged = false;
    keys().CmdOk_Click();
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(),
              "Error while trying to write the key data file <KeysData.Aco>");
    EXPECT_FALSE(app().g.KeysChanged);
    EXPECT_TRUE(keys().isVisible());
    EXPECT_EQ(keys().LstKeyUser->count(), 1);

    // Once the way is clear the same list is saved from measure 1 on.
    std::filesystem::remove(folder() / "KeysData.Aco");
    keys().CmdOk_Click();
    EXPECT_EQ(ReadText("KeysData.Aco"), "001:02;G  Major\r\n");
    EXPECT_TRUE(app().g.KeysChanged);
}

TEST_F(KeyEditorTest, MeasureFieldIsLimitedOnLeavingAndAgainOnAdd) {
    Open("NoKeysChInfo");
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"0", "001"}, {"251", "001"}, {"abc", "001"}, {"12", "012"}, {"250", "250"}};
    for (const auto& c : cases) {
        keys().TxtMsNo->setText(c.typed);
        keys().TxtMsNo_LostFocus();
        EXPECT_EQ(keys().TxtMsNo->text(), c.shown) << c.typed;
    }
    // Add from the keyboard, before the field was left: no line of another length is made.
    keys().TxtMsNo->setText("999");
    keys().CmbKey->setCurrentIndex(27);
    keys().CmdAddLine_Click();
    EXPECT_EQ(Items(keys().LstKeyChPoints), QStringList{"001:27;Eb Minor"});
    EXPECT_EQ(keys().TxtMsNo->text(), "001");
}

TEST_F(KeyEditorTest, SelectingAndRemovingKeepBothListsTogether) {
    Open("NoKeysChInfo");
    Add(1, 2);
    Add(5, 3);
    Add(9, 4);
    keys().CmbKey->setCurrentIndex(0);
    keys().LstKeyUser->setCurrentRow(1);
    EXPECT_EQ(keys().CmbKey->currentText(), "E  Minor");
    EXPECT_EQ(keys().TxtMsNo->text(), "005");
    EXPECT_EQ(keys().TxtKeyCode->text(), "03");
    EXPECT_EQ(keys().TxtKeyName->text(), "E  Minor");
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(),
              "At the Measure 005 the key will change to <E  Minor>");

    // Delete on the list removes the selected point from both lists.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(keys().LstKeyUser, &release);
    EXPECT_EQ(Items(keys().LstKeyChPoints), (QStringList{"001:02;G  Major", "009:04;D  Major"}));
    EXPECT_EQ(Items(keys().LstKeyUser), (QStringList{"001: G  Major", "009: D  Major"}));
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "");
    EXPECT_TRUE(keys().LstKeyUser->selectedItems().isEmpty());
    keys().CmdRemoveLine_Click();  // nothing selected: nothing removed
    EXPECT_EQ(keys().LstKeyUser->count(), 2);

    // So does the keypad's decimal point; the main keyboard's full stop does not.
    keys().LstKeyUser->setCurrentRow(0);
    QKeyEvent stop(QEvent::KeyRelease, Qt::Key_Period, Qt::NoModifier);
    QCoreApplication::sendEvent(keys().LstKeyUser, &stop);
    EXPECT_EQ(keys().LstKeyUser->count(), 2);
    QKeyEvent keypad(QEvent::KeyRelease, Qt::Key_Period, Qt::KeypadModifier);
    QCoreApplication::sendEvent(keys().LstKeyUser, &keypad);
    EXPECT_EQ(Items(keys().LstKeyChPoints), QStringList{"009:04;D  Major"});
    Add(30, 5);
    keys().LstKeyUser->setCurrentRow(0);
    keys().CmdRemoveLine_Click();
    EXPECT_EQ(Items(keys().LstKeyUser), QStringList{"030: B  Minor"});
    keys().CmdRemoveAll_Click();
    EXPECT_EQ(keys().LstKeyChPoints->count() + keys().LstKeyUser->count(), 0);
    keys().CmdOk_Click();
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "There is nothing in the Key List.");
    EXPECT_TRUE(keys().isVisible());
    EXPECT_FALSE(std::filesystem::exists(folder() / "KeysData.Aco"));
}

TEST_F(KeyEditorTest, ShowingLoadsTheFileByTheTag) {
    const struct {
        const char* what;
        const char* file;  // nullptr: no file
        const char* tag;
        QStringList items;
        const char* notice;
    } cases[] = {
        {"lines of another program's names",
         "012:02;anything\r\n000:00;C  Major\n",
         "34",
         {"000: C  Major", "012: G  Major"},
         ""},
        {"no key list wanted", "001:02;G  Major\r\n", "NoKeysChInfo", {}, ""},
        {"reading stops at a bad line",
         "001:02;G  Major\r\n251:03;E  Minor\r\n020:04;D  Major\r\n",
         "51",
         {"001: G  Major"},
         "Bad data in the key data file <KeysData.Aco>"},
        {"missing file",
         nullptr,
         "17",
         {},
         "Error while trying to open key data file <KeysData.Aco>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder() / "KeysData.Aco");
        if (c.file != nullptr) WriteFile(folder() / "KeysData.Aco", std::string(c.file));
        keys().hide();
        keys().LblKeyFindInfo->SetCaption("from before");
        Open(c.tag);
        EXPECT_EQ(Items(keys().LstKeyUser), c.items);
        EXPECT_EQ(keys().LstKeyChPoints->count(), c.items.size());
        EXPECT_EQ(keys().LblKeyFindInfo->Caption(), c.notice);
    }
}

// Two lines of one measure (which the dialog never writes) still pair each line with its own
// item, so a selection shows the key of the line it stands for.
TEST_F(KeyEditorTest, TwoChangesAtOneMeasureKeepTheirPairs) {
    WriteFile(folder() / "KeysData.Aco", std::string("005:02;G  Major\r\n005:03;E  Minor\r\n"));
    Open("34");
    EXPECT_EQ(Items(keys().LstKeyUser), (QStringList{"005: G  Major", "005: E  Minor"}));
    keys().LstKeyUser->setCurrentRow(1);
    EXPECT_EQ(keys().CmbKey->currentText(), "E  Minor");
}

TEST_F(KeyEditorTest, DetectorResultsFillTheListsAndTheKey) {
    WriteFile(folder() / "keys.src",
              std::string("001:02;G  Major\r\n009:03;E  Minor\r\n017:07;F# Minor\r\n"));
    WriteFile(folder() / "keycode.src", std::string("07\r\n"));
    WriteFile(folder() / "bad.src", std::string("001:02;G  Major\r\n300:03;E  Minor\r\n"));
    const struct {
        const char* what;
        const char* settings;
        QStringList items;
        const char* key;
        const char* notice;
    } cases[] = {
        {"three changes",
         "code=46\ncopy=keys.src KeysData.Aco\ncopy=keycode.src KeyCode.dat\n",
         {"001: G  Major", "009: E  Minor", "017: F# Minor"},
         "F# Minor",
         "Key detection completed."},
        {"a change beyond measure 250 is bad data",
         "code=46\ncopy=bad.src KeysData.Aco\ncopy=keycode.src KeyCode.dat\n",
         {"001: G  Major"},
         "F# Minor",
         "Bad data in the key data file <KeysData.Aco>"},
        {"no key code file",
         "code=46\ncopy=keys.src KeysData.Aco\n",
         {"001: G  Major", "009: E  Minor", "017: F# Minor"},
         "C  Major",
         "Key detection completed."},
        {"the detector fails",
         "code=46\nfailed=1\n",
         {"005: D  Major"},
         "B  Minor",
         "Sorry. Key not detected."},
    };
    std::size_t logged = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(folder() / "KeyCode.dat");
        WriteFile(folder() / "KeysData.Aco", std::string("005:04;D  Major\r\n"));
        InstallFakeWorker(folder(), "Sorvik", c.settings);
        keys().hide();
        Open("17");
        keys().CmbKey->setCurrentIndex(5);
        keys().CmdKeyDetect_Click();
        EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "Sorvik started...");
        EXPECT_FALSE(ButtonsEnabled());
        logged += 2;
        ASSERT_TRUE(WaitLogged("Sorvik", logged));
        ASSERT_TRUE(WaitUntil([&] { return ButtonsEnabled(); }));
        EXPECT_EQ(Items(keys().LstKeyUser), c.items);
        EXPECT_EQ(keys().CmbKey->currentText(), c.key);
        EXPECT_EQ(keys().LblKeyFindInfo->Caption(), c.notice);
    }
    EXPECT_TRUE(recorder.lines().isEmpty());

    // The detector got the caller's handle, the version stamp, the handle token and flag 1.
    const std::string start = FakeWorkerLog(folder(), "Sorvik").front();
    const std::uint32_t handle = static_cast<std::uint32_t>(std::stoul(start.substr(6)));
    EXPECT_GT(handle, 0u);
    EXPECT_EQ(start, "start " + std::to_string(handle) + " 2426 " +
                         std::to_string(handle + 31470952 + 2426) + " 1");
}

TEST_F(KeyEditorTest, TimeOutEndsTheDetectorAndALateCompletionIsIgnored) {
    platform::qt::SetWorkerTimeoutForTests(150);
    WriteFile(folder() / "keys.src", std::string("001:02;G  Major\r\n"));
    WriteFile(folder() / "KeysData.Aco", std::string("005:04;D  Major\r\n"));
    InstallFakeWorker(folder(), "Sorvik", "delay_ms=3000\ncode=46\ncopy=keys.src KeysData.Aco\n");
    Open("17");
    keys().CmdKeyDetect_Click();
    const qint64 pid = keys().workerProcess;
    const platform::Hwnd handle = keys().CmdMessWindow->hWnd();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntil([&] { return keys().LblKeyFindInfo->Caption() == "Time Out error."; }));
    EXPECT_EQ(recorder.lines(), QStringList{kDetectorTimeOutBox});
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_TRUE(keys().MessTimedOut);

    // Ended long before its own three seconds were up, so it can no longer replace the list the
    // user saves and Proceed reads.
    EXPECT_TRUE(WaitUntil([&] { return ::kill(static_cast<pid_t>(pid), 0) != 0; }, 1500));
    EXPECT_EQ(ReadText("KeysData.Aco"), "005:04;D  Major\r\n");
    EXPECT_LE(FakeWorkerLog(folder(), "Sorvik").size(), 1u);  // at most its start

    // Someone else's completion at the run's handle is not the detector's late one.
    ASSERT_TRUE(platform::SendCompletion(handle, {platform::WM_KEYUP, 46, 0}));
    WaitUntil([] { return false; }, 200);
    EXPECT_TRUE(keys().MessTimedOut);

    // A completion already on its way when the time-out came (its list written) changes
    // nothing: the detector answers while the dialog is busy, and the time-out comes first.
    platform::qt::SetWorkerTimeoutForTests(0);
    std::filesystem::remove(folder() / "Sorvik.fake.log");
    InstallFakeWorker(folder(), "Sorvik", "code=46\ncopy=keys.src KeysData.Aco\n");
    keys().CmdKeyDetect_Click();
    ASSERT_TRUE(WaitLoggedUnread(folder(), "Sorvik", 2));
    keys().TimerMlMess_Timer();
    EXPECT_TRUE(keys().MessTimedOut);
    ASSERT_TRUE(WaitUntil([&] { return !keys().MessTimedOut; }));
    EXPECT_EQ(ReadText("KeysData.Aco"), "001:02;G  Major\r\n");
    EXPECT_EQ(Items(keys().LstKeyUser), QStringList{"005: D  Major"});
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "Time Out error.");
    EXPECT_EQ(recorder.lines(), (QStringList{kDetectorTimeOutBox, kDetectorTimeOutBox}));
}

// Any process of the user can reach the dialog's handle. What another one sends there (here the
// test itself, which is not the detector) does not end the wait; the detector's own completion
// then fills the list.
TEST_F(KeyEditorTest, OnlyTheStartedDetectorsCompletionEndsTheWait) {
    WriteFile(folder() / "keys.src", std::string("001:02;G  Major\r\n"));
    WriteFile(folder() / "KeysData.Aco", std::string("005:04;D  Major\r\n"));
    InstallFakeWorker(folder(), "Sorvik", "delay_ms=1000\ncode=46\ncopy=keys.src KeysData.Aco\n");
    Open("17");
    keys().CmdKeyDetect_Click();
    ASSERT_TRUE(WaitLogged("Sorvik", 1));
    ASSERT_TRUE(
        platform::SendCompletion(keys().CmdMessWindow->hWnd(), {platform::WM_KEYUP, 46, 0}));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "Sorvik started...");
    EXPECT_FALSE(ButtonsEnabled());
    EXPECT_EQ(Items(keys().LstKeyUser), QStringList{"005: D  Major"});

    ASSERT_TRUE(WaitUntil([&] { return ButtonsEnabled(); }));
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "Key detection completed.");
    EXPECT_EQ(Items(keys().LstKeyUser), QStringList{"001: G  Major"});
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(KeyEditorTest, MissingDetectorCannotStart) {
    std::filesystem::remove(folder() / "Sorvik");
    Open("NoKeysChInfo");
    keys().CmdKeyDetect_Click();
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "Could not start Sorvik");
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_FALSE(keys().TimerMlMess->Enabled());
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(KeyEditorTest, RealDetectorFindsTheKeyOfTheSongInput) {
    WriteFile(folder() / "InPut.bin", WaltzInG(16));
    Open("NoKeysChInfo");
    keys().CmdKeyDetect_Click();
    ASSERT_TRUE(WaitUntil([&] { return ButtonsEnabled(); }, 20000));
    EXPECT_EQ(keys().LblKeyFindInfo->Caption(), "Key detection completed.");
    // A melody in G major with one sharp: G major or its relative minor, from measure 1 on, and
    // the dialog shows what the detector wrote.
    EXPECT_EQ(keys().LblKey->Caption(), "+1");
    const int code = std::stoi(ReadText("KeyCode.dat"));
    EXPECT_EQ(keys().CmbKey->currentIndex(), code);
    ASSERT_GE(keys().LstKeyUser->count(), 1);
    EXPECT_EQ(keys().LstKeyUser->List(0), "001: " + keys().CmbKey->currentText());
    EXPECT_EQ(keys().LstKeyChPoints->List(0).toStdString() + "\r\n",
              ReadText("KeysData.Aco").substr(0, 17));
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

}  // namespace
}  // namespace corvane::testing
