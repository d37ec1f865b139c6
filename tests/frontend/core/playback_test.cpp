// Playing the output and the input from the main window with the fake players on the test's
// clock: the output test and its refusals, Play from the chosen bar, the bar display, the
// sections and LEDs following the music, the loop, Pause, Stop, errors while playing, and the
// input test.
#include <filesystem>
#include <fstream>

#include "frontend/core/playback_rules.h"
#include "frontend/styles/slot_tables.h"
#include "tests/frontend/core/playback_fixture.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// The test buttons when neither test runs.
void ExpectTestsOff(FrmMain& main, const CoreGlobals& g) {
    EXPECT_FALSE(g.TestOn);
    EXPECT_FALSE(main.PictTest->isHidden());
    EXPECT_TRUE(main.PictEndT->isHidden());
    EXPECT_FALSE(main.PictTeIn->isHidden());
    EXPECT_TRUE(main.PictStIn->isHidden());
    for (QWidget* button : std::initializer_list<QWidget*>{main.CmdTestOut, main.PictTest,
                                                           main.PictEndT, main.PictTeIn}) {
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    }
}

// What an output test leaves when it ends or fails.
void ExpectOutputTestOff(FrmMain& main, const CoreGlobals& g) {
    ExpectTestsOff(main, g);
    EXPECT_FALSE(main.CanGatOut[0]->Enabled());
    EXPECT_EQ(main.LblHa->Caption(), "0");
    EXPECT_EQ(main.LblPlayFrom->Caption(), "0");
    EXPECT_TRUE(main.PictPlay->isEnabled());
}

TEST_F(PlaybackTest, TestOutOpensTheOutputAndTheNextClickEndsIt) {
    MakeOutput();
    Click(main().PictTest);
    EXPECT_EQ(Caption(), "Ready To Play Output.");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join(" / ").toStdString();
    EXPECT_EQ(Log(), std::vector<std::string>{"MMControl1 Open " + PlayFile()});
    EXPECT_TRUE(g().TestOn);
    // The composed waltz ends on a bar line: its length is a whole number of bars.
    EXPECT_EQ(main().MMControl1->Length(), g().OutMsCount * 12);
    EXPECT_TRUE(g().OutMsCount == kSongBars || g().OutMsCount == kSongBars + 1) << g().OutMsCount;
    EXPECT_TRUE(main().CanGatOut[0]->Enabled());
    EXPECT_EQ(main().CanGatOut[0]->Max(), g().OutMsCount);
    EXPECT_EQ(main().CanGatOut[1]->Max(), g().OutMsCount);
    EXPECT_EQ(main().LblHa->Caption(), "0");
    EXPECT_EQ(main().LblPlayFrom->Caption(), "0");
    EXPECT_TRUE(main().PictTest->isHidden());
    EXPECT_FALSE(main().PictEndT->isHidden());
    EXPECT_FALSE(main().PictTeIn->isEnabled()) << "the input test waits while the output is open";
    EXPECT_TRUE(main().PictEndT->isEnabled() && main().PictPlay->isEnabled() &&
                main().CmdTestOut->isEnabled());
    EXPECT_TRUE(fs::exists(PlayFile()));
    EXPECT_EQ(main().MMControl1->Mode(), platform::qt::kModeStopped) << "nothing plays yet";

    Click(main().PictEndT);
    EXPECT_EQ(Caption(), "");
    EXPECT_EQ(main().MMControl1->DeviceID(), 0);
    EXPECT_FALSE(fs::exists(PlayFile()));
    ExpectOutputTestOff(main(), g());
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"MMControl1 Open " + PlayFile(), "MMControl1 Close"}));
}

TEST_F(PlaybackTest, BarCountOfTheOutputIsCheckedAgainstTheChordList) {
    MakeOutput();
    Click(main().PictTest);
    const int bars = g().OutMsCount;
    Click(main().PictEndT);
    const struct {
        const char* name;
        int chordBars;
        bool opens;
    } cases[] = {
        {"as many bars", bars, true},
        {"the output one bar longer", bars - 1, true},
        {"the output two bars longer", bars - 2, false},
        {"the output one bar shorter", bars + 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.clear();
        g().ChordMsCount = c.chordBars;
        Click(main().PictTest);
        if (c.opens) {
            EXPECT_EQ(Caption(), "Ready To Play Output.");
            EXPECT_TRUE(recorder.lines().isEmpty());
            Click(main().PictEndT);
        } else {
            EXPECT_EQ(recorder.lines(),
                      QStringList{"critical|Orvella|Number of Measures is not the same as in the "
                                  "ChordDataList: " +
                                  QString::number(bars) + "," + QString::number(c.chordBars)});
            EXPECT_EQ(main().MMControl1->DeviceID(), 0);
            ExpectOutputTestOff(main(), g());
        }
    }
}

TEST_F(PlaybackTest, TestOutRefusesWithoutAnOutputOrAPlayFile) {
    StartWithSong(kSongBars);
    Click(main().PictTest);
    EXPECT_EQ(recorder.lines(),
              QStringList{"information|Orvella|No Output to Test.\\nRun <3.Make Output> first to "
                          "create an output data."});
    EXPECT_FALSE(g().TestOn);
    EXPECT_FALSE(main().PictTest->isHidden());
    EXPECT_TRUE(Log().empty());
}

TEST_F(PlaybackTest, PlayFileThatCannotBeWrittenLeavesTheTestOff) {
    MakeOutput();
    fs::create_directory(PlayFile());  // a folder where the play file belongs
    main().LblInName->SetCaption("x");
    Click(main().PictTest);
    EXPECT_TRUE(recorder.lines().isEmpty());
    EXPECT_EQ(Caption(), "");
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(fs::is_directory(PlayFile())) << "only the play file is ever deleted";
    ExpectOutputTestOff(main(), g());
}

TEST_F(PlaybackTest, TestOutReplacesALinkAtThePlayFileAndLeavesItsTarget) {
    MakeOutput();
    fs::create_directory(folder() / "keep");
    WriteFile(folder() / "keep" / "victim.txt", "untouched");
    fs::create_symlink(folder() / "keep" / "victim.txt", PlayFile());
    Click(main().PictTest);
    EXPECT_EQ(Caption(), "Ready To Play Output.");
    EXPECT_EQ(ReadText("keep/victim.txt"), "untouched");
    EXPECT_FALSE(fs::is_symlink(PlayFile()));
    EXPECT_EQ(ReadText("Play.sti").size(), g().Output.OutputBuf().size());
    Click(main().PictEndT);
    EXPECT_FALSE(fs::exists(PlayFile()));
    EXPECT_EQ(ReadText("keep/victim.txt"), "untouched");
}

TEST_F(PlaybackTest, OutputThatIsNoPlayableSongGetsTheOpenErrorBox) {
    StartWithSong(kSongBars);
    // A composer output whose header announces a third track that is not there.
    std::vector<std::uint8_t> output = WaltzInG(kSongBars);
    output[11] = 3;
    WriteFile(folder() / "ComposeOut.bin", output);
    ASSERT_TRUE(g().Output.LoadComposeOutput((folder() / "ComposeOut.bin").string(), 60));
    g().OutputReady = true;
    Click(main().PictTest);
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|" +
                          QString::fromStdString(OutputOpenErrorText(296)).replace("\n", "\\n")});
    EXPECT_EQ(Caption(), "");
    EXPECT_TRUE(fs::exists(PlayFile())) << "the play file stays until the next test or the exit";
    EXPECT_EQ(main().MMControl1->DeviceID(), 0);
    ExpectOutputTestOff(main(), g());
}

TEST_F(PlaybackTest, PlayStartsAtTheChosenBarAndAtBarOneFromTheEnd) {
    OpenOutput();
    main().CanGatOut[0]->SetValue(3);
    Click(main().PictPlay);
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"MMControl1 Play from 0", "MMControl1 Play from 36"}));
    EXPECT_EQ(main().LblHa->Caption(), "4");
    EXPECT_EQ(main().LblPlayFrom->Caption(), "4");
    EXPECT_EQ(Caption(), "waltz");
    EXPECT_TRUE(main().PictPlay->isHidden());
    EXPECT_FALSE(main().PictPaus->isHidden());
    EXPECT_TRUE(g().Playing);
    EXPECT_TRUE(main().TimerOnLine->Enabled());

    Click(main().PictStop);
    sequencer.Clear();
    main().CanGatOut[0]->SetValue(main().CanGatOut[0]->Max());
    EXPECT_EQ(main().LblHa->Caption(), "End");
    Click(main().PictPlay);
    EXPECT_EQ(Log(), std::vector<std::string>{"MMControl1 Play from 0"});
    EXPECT_EQ(main().LblHa->Caption(), "1");

    sequencer.Clear();
    main().PlayMCI1(48);
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"MMControl1 Play from 0", "MMControl1 Play from 48"}));
}

TEST_F(PlaybackTest, PlayRefusalsOfTheTransport) {
    MakeOutput();
    // Not opened, then not opened while the input test plays.
    Click(main().PictPlay);
    ASSERT_TRUE(main().PictTeIn->isEnabled());
    Click(main().PictTeIn);
    Click(main().PictPlay);
    EXPECT_EQ(recorder.lines(),
              (QStringList{"information|Orvella|The Output MIDI Device is not opened.\\nClick "
                           "<Test Out>, then try again.",
                           "information|Orvella|The Output MIDI Device is not opened.\\nClick "
                           "<Stop Testing Input>, Click <Test Out>, then try again."}));
    Click(main().PictStIn);
    // Enabled without a bar to play: nothing at all.
    recorder.clear();
    sequencer.Clear();
    main().CanGatOut[0]->SetEnabled(true);
    main().CanGatOut[0]->SetMax(0);
    main().TryToPlay();
    EXPECT_TRUE(recorder.lines().isEmpty());
    EXPECT_TRUE(Log().empty());
    // PlayMCI1 with no device open.
    main().PlayMCI1(0);
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|The MIDI device is not opened.\\nPlease click <3.Make "
                          "Output> to try again."});
    EXPECT_FALSE(g().Playing);
    EXPECT_FALSE(main().PictPlay->isHidden());
}

TEST_F(PlaybackTest, TheBarDisplayFollowsTheClockAndAHeldThumbKeepsThePlayFromBar) {
    OpenOutput();
    Click(main().PictPlay);
    Advance(2 * kMsPerBar + 100);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 2);
    EXPECT_EQ(main().LblHa->Caption(), "3");
    EXPECT_EQ(main().CanGatOut[1]->Value(), 2);
    EXPECT_EQ(main().LblPlayFrom->Caption(), "3");
    EXPECT_EQ(main().LstHa->currentRow(), 2);

    main().PosThumbPressed = true;
    Advance(2 * kMsPerBar);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 4);
    EXPECT_EQ(main().LblHa->Caption(), "5");
    EXPECT_EQ(main().CanGatOut[1]->Value(), 2) << "the user holds the position thumb";
    EXPECT_EQ(main().LblPlayFrom->Caption(), "3");
}

TEST_F(PlaybackTest, TheStatusLineNamesThePlayingSectionInItsSlotsColour) {
    OpenOutput();
    main().LstSections->clear();
    main().LstSections->addItems({"001: 1-Jazz Waltz", "003: 3-Swing"});
    Click(main().PictPlay);
    Advance(100);
    EXPECT_EQ(Caption(), "waltz: 1-Jazz Waltz");
    EXPECT_EQ(main().LblInName->ForeColor(), styles::kSlotColours[0]);
    EXPECT_EQ(main().LstSections->currentRow(), 0);
    EXPECT_EQ(g().PlayingStyleSlot, 1);

    Advance(2 * kMsPerBar);
    EXPECT_EQ(Caption(), "waltz: 3-Swing");
    EXPECT_EQ(main().LblInName->ForeColor(), styles::kSlotColours[2]);
    EXPECT_EQ(main().LstSections->currentRow(), 1);
    EXPECT_EQ(g().PlayingStyleSlot, 3);

    // Bars past the chord list (the output's extra bar), and every bar between a Proceed and
    // the next Make, leave the section as it was.
    g().ChordMsCount = 3;
    main().LstSections->item(1)->setText("004: 5-Latin");
    Advance(kMsPerBar);
    EXPECT_EQ(main().LblHa->Caption(), "4");
    EXPECT_EQ(Caption(), "waltz: 3-Swing");
    g().ChordMsCount = kSongBars;
    g().ChordsNewerThanOutput = true;
    Advance(kMsPerBar);
    EXPECT_EQ(main().LblHa->Caption(), "5");
    EXPECT_EQ(Caption(), "waltz: 3-Swing");
    EXPECT_EQ(g().PlayingStyleSlot, 3);

    // No sections at all: the title alone, slot 1.
    g().ChordsNewerThanOutput = false;
    main().LstSections->clear();
    Advance(kMsPerBar);
    EXPECT_EQ(Caption(), "waltz");
    EXPECT_EQ(g().PlayingStyleSlot, 1);
}

TEST_F(PlaybackTest, TheSignBlinksAndThePlayingSlotsLedLightsEveryOtherTick) {
    OpenOutput();
    main().LstSections->clear();
    main().LstSections->addItems({"001: 2-Wz3431"});
    Click(main().PictPlay);
    Advance(500);
    EXPECT_FALSE(main().ImgPlSign0->isHidden());
    EXPECT_TRUE(main().ImgPlSign1->isHidden());
    EXPECT_EQ(Back(main().LblStyLeds[1]), Lit(styles::kSlotColours[1]));
    EXPECT_EQ(Back(main().LblStyLeds[0]), Grey());
    Advance(500);
    EXPECT_TRUE(main().ImgPlSign0->isHidden());
    EXPECT_FALSE(main().ImgPlSign1->isHidden());
    EXPECT_EQ(Back(main().LblStyLeds[1]), Grey());

    Click(main().PictPaus);
    EXPECT_FALSE(main().TimerOnLine->Enabled());
    EXPECT_FALSE(main().ImgPlSign1->isHidden());
    for (QWidget* led : main().LblStyLeds) EXPECT_EQ(Back(led), Grey());
}

TEST_F(PlaybackTest, TheSongStartsAgainAtItsEndOnlyWhileTheUserWantsItPlayed) {
    OpenOutput();
    const int last = g().OutMsCount - 1;
    main().CanGatOut[0]->SetValue(last);
    Click(main().PictPlay);
    sequencer.Clear();
    Advance(kMsPerBar);  // the update that finds the song over
    EXPECT_EQ(Log(), std::vector<std::string>{"MMControl1 Play from 0"});
    EXPECT_EQ(main().LblHa->Caption(), "1");
    EXPECT_EQ(main().LblPlayFrom->Caption(), "1");
    EXPECT_TRUE(g().Playing);
    for (QWidget* led : main().LblLed) EXPECT_EQ(Back(led), Grey());

    // Stopped, the song does not come back by itself.
    Click(main().PictStop);
    sequencer.Clear();
    Advance(20 * kMsPerBar);
    EXPECT_EQ(Log(), std::vector<std::string>{});
    EXPECT_FALSE(g().Playing);
}

TEST_F(PlaybackTest, PauseResumesAtTheStartOfItsBarAndStopGoesBackToBarOne) {
    OpenOutput();
    Click(main().PictPlay);
    Advance(3 * kMsPerBar + 700);  // into the fourth bar
    Click(main().PictPaus);
    EXPECT_EQ(Caption(), "Paused");
    EXPECT_FALSE(g().Playing);
    EXPECT_FALSE(main().PictPlay->isHidden());
    EXPECT_TRUE(main().PictPaus->isHidden());
    EXPECT_EQ(main().MMControl1->UpdateInterval(), 0);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 3);
    sequencer.Clear();
    Click(main().PictPlay);
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"MMControl1 Play from 0", "MMControl1 Play from 36"}));

    Advance(kMsPerBar);
    Click(main().PictStop);
    EXPECT_EQ(Caption(), "Stoped");
    EXPECT_EQ(main().CanGatOut[0]->Value(), 0);
    EXPECT_EQ(main().CanGatOut[1]->Value(), 0);
    EXPECT_EQ(main().LblHa->Caption(), "1");
    EXPECT_EQ(main().LblPlayFrom->Caption(), "1");
    sequencer.Clear();
    Click(main().PictPlay);
    EXPECT_EQ(Log(), std::vector<std::string>{"MMControl1 Play from 0"});
}

TEST_F(PlaybackTest, SeekButtonsMoveTheBarsOnlyWhileAnOutputIsOpen) {
    MakeOutput();
    Click(main().PictSeEn);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 0) << "no output open";
    Click(main().PictTest);
    Click(main().PictSeEn);
    EXPECT_EQ(main().CanGatOut[0]->Value(), kSongBars - 1);
    EXPECT_EQ(main().CanGatOut[1]->Value(), kSongBars - 1);
    EXPECT_EQ(main().LblPlayFrom->Caption(), QString::number(kSongBars));
    EXPECT_EQ(main().LstHa->currentRow(), kSongBars - 1);
    EXPECT_TRUE(Log().size() == 1) << "the player is not touched";
    Click(main().PictSeBe);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 0);
    EXPECT_EQ(main().CanGatOut[1]->Value(), 0);
}

TEST_F(PlaybackTest, AnErrorWhilePlayingIsShownOnceAndPlayWorksAgain) {
    OpenOutput();
    Click(main().PictPlay);
    Advance(kMsPerBar);
    sequencer.FailWhilePlaying("MMControl1", 5, "The synthesizer stopped.");
    Advance(10 * kMsPerBar);
    EXPECT_EQ(recorder.lines(), QStringList{"critical|Orvella|The synthesizer stopped."});
    EXPECT_FALSE(g().Playing);
    EXPECT_FALSE(main().PictPlay->isHidden());
    EXPECT_TRUE(main().PictPaus->isHidden());
    for (QWidget* led : main().LblLed) EXPECT_EQ(Back(led), Grey());
    EXPECT_NE(main().MMControl1->DeviceID(), 0) << "the device stays open";
    sequencer.Clear();
    Click(main().PictPlay);
    Advance(kMsPerBar);
    EXPECT_EQ(recorder.lines().size(), 1);
    EXPECT_EQ(main().MMControl1->Mode(), platform::qt::kModePlaying);
}

TEST_F(PlaybackTest, BeatLedsLightTheBeatOfThePosition) {
    StartWithSong(kSongBars);
    const struct {
        const char* signature;
        int ticksPerLed, leds;
        std::vector<std::int64_t> positions;
        std::vector<int> lit;
    } cases[] = {{"3/4", 4, 3, {0, 4, 8, 12, 16}, {0, 1, 2, 0, 1}},
                 {"6/8", 2, 6, {12, 13, 14, 23}, {0, 0, 1, 5}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signature);
        g().TicksPerBeatLed = c.ticksPerLed;
        g().BeatLedCount = c.leds;
        for (QWidget* led : main().LblLed) main().SetBackColour(led, 0x808080);
        for (std::size_t i = 0; i < c.positions.size(); ++i) {
            main().ShowBeatLed(c.positions[i]);
            for (int led = 0; led < 6; ++led) {
                const QString expected = led != c.lit[i] ? Grey() : Lit(led == 0 ? 0xFF : 0xFFFF);
                EXPECT_EQ(Back(main().LblLed[led]), expected) << c.positions[i] << " LED " << led;
            }
        }
    }
    // A second update in the same beat leaves the LEDs as they are.
    main().SetBackColour(main().LblLed[5], 0x123456);
    main().ShowBeatLed(22);
    EXPECT_EQ(Back(main().LblLed[5]), Lit(0x123456));
    // Before the first Make nothing lights.
    g().TicksPerBeatLed = 0;
    g().BeatLedCount = 0;
    main().ShowBeatLed(0);
    EXPECT_EQ(Back(main().LblLed[0]), Grey());
}

TEST_F(PlaybackTest, MakeWhileThePlayerIsWantedOpensTheNewOutputAtOnce) {
    OpenOutput();
    Click(main().PictPlay);
    Advance(kMsPerBar);
    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("Ready To Play Output.")) << Caption().toStdString();
    EXPECT_TRUE(g().TestOn);
    EXPECT_TRUE(g().Playing);
    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.back(), "MMControl1 Open " + PlayFile());
}

// ---- The input test ----

TEST_F(PlaybackTest, InputTestPlaysTheSongOnceAndAToggleEndsIt) {
    StartWithSong(kSongBars);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        sequencer.Clear();
        Click(main().PictTeIn);
        EXPECT_EQ(Log(), (std::vector<std::string>{"MMControl2 Open " + songPath,
                                                   "MMControl2 Play from 0"}));
        EXPECT_TRUE(g().TestOn);
        EXPECT_TRUE(main().PictTeIn->isHidden());
        EXPECT_TRUE(main().PictTeIn->isEnabled());
        EXPECT_FALSE(main().PictStIn->isHidden());
        EXPECT_FALSE(main().CmdTestOut->isEnabled() || main().PictTest->isEnabled() ||
                     main().PictEndT->isEnabled());
        EXPECT_TRUE(main().TimerOnLine->Enabled());
        Advance(400);
        EXPECT_EQ(Caption(), "Testing input...");
        // The sign blinks, but no style-slot LED lights for the input.
        std::vector<QString> leds;
        for (QWidget* led : main().LblStyLeds) leds.push_back(Back(led));
        Advance(500);
        EXPECT_FALSE(main().ImgPlSign0->isHidden());
        for (int i = 0; i < 5; ++i) EXPECT_EQ(Back(main().LblStyLeds[i]), leds[i]) << i;

        Click(main().PictStIn);
        EXPECT_EQ(Log().back(), "MMControl2 Close");
        EXPECT_EQ(Caption(), "");
        ExpectTestsOff(main(), g());
    }
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(PlaybackTest, WithNoAudioOutputTheStatusLineSaysSoOnceAndPlayGoesOn) {
    const QString silent = "No audio output: playing silently";
    sequencer.PlaySilently(true);
    OpenOutput();
    Click(main().PictPlay);
    EXPECT_EQ(Caption(), silent);
    // The words stay a few seconds although bars go by, then the playing section comes back.
    Advance(2 * kMsPerBar);
    EXPECT_EQ(Caption(), silent);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 2);
    Advance(2 * kMsPerBar);
    EXPECT_NE(Caption(), silent);
    EXPECT_TRUE(Caption().startsWith(QString::fromStdString(g().SongTitle)))
        << Caption().toStdString();
    EXPECT_TRUE(g().Playing);
    EXPECT_EQ(main().MMControl1->Mode(), platform::qt::kModePlaying);

    // Said once in the run: neither the next play nor the input test says it again.
    Click(main().PictStop);
    Click(main().PictPlay);
    EXPECT_EQ(Caption(), QString::fromStdString(g().SongTitle));
    Click(main().PictStop);
    Click(main().PictEndT);
    Click(main().PictTeIn);
    Advance(400);
    EXPECT_EQ(Caption(), "Testing input...");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(PlaybackTest, AnInputTestWithNoAudioOutputSaysSoBeforeItsOwnWords) {
    StartWithSong(kSongBars);
    sequencer.PlaySilently(true);
    Click(main().PictTeIn);
    EXPECT_EQ(Caption(), "No audio output: playing silently");
    Advance(3000);
    EXPECT_EQ(Caption(), "No audio output: playing silently");
    Advance(1400);
    EXPECT_EQ(Caption(), "Testing input...");
    EXPECT_TRUE(g().TestOn);
}

TEST_F(PlaybackTest, InputTestEndsByItselfAtTheSongsEnd) {
    StartWithSong(kSongBars);
    Click(main().PictTeIn);
    Advance(kSongBars * kMsPerBar + 400);
    EXPECT_EQ(Log().back(), "MMControl2 Close");
    EXPECT_EQ(main().MMControl2->DeviceID(), 0);
    ExpectTestsOff(main(), g());
    EXPECT_FALSE(main().TimerOnLine->Enabled());
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(PlaybackTest, InputTestRefusesAnEmptyBoxAndWhatCannotBePlayed) {
    StartWithSong(kSongBars);
    main().TxtInName->setText("");
    Click(main().PictTeIn);
    EXPECT_EQ(
        recorder.lines(),
        QStringList{"information|Orvella|No Input File To Test.\\nClick Browse button to find "
                    "an input midi file you want to Test."});
    EXPECT_FALSE(g().TestOn);
    EXPECT_FALSE(main().PictTeIn->isHidden());

    WriteFile(folder() / "notes.mid", std::string("not a song"));
    const struct {
        const char* name;
        std::string path;
        QString message;
    } cases[] = {
        {"missing", (folder() / "gone.mid").string(), "The file <%1> cannot be found."},
        {"not a MIDI song", (folder() / "notes.mid").string(),
         "The file <%1> is not a MIDI song that can be played."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.clear();
        main().TxtInName->setText(QString::fromStdString(c.path));
        Click(main().PictTeIn);
        EXPECT_EQ(recorder.lines(),
                  QStringList{"critical|Orvella|" + c.message.arg(QString::fromStdString(c.path))});
        EXPECT_EQ(Caption(), "");
        ExpectTestsOff(main(), g());
    }
}

TEST_F(PlaybackTest, InputTestEndsEvenWhenItsBoxWasEmptiedMeanwhile) {
    StartWithSong(kSongBars);
    Click(main().PictTeIn);
    main().TxtInName->setText("");
    Advance(kSongBars * kMsPerBar + 400);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join(" / ").toStdString();
    ExpectTestsOff(main(), g());
}

TEST_F(PlaybackTest, StopAlsoEndsTheInputTest) {
    StartWithSong(kSongBars);
    Click(main().PictTeIn);
    Click(main().PictStop);
    EXPECT_EQ(Log().back(), "MMControl2 Close");
    ExpectTestsOff(main(), g());
}

TEST_F(PlaybackTest, AnErrorWhileTheInputPlaysEndsTheTest) {
    StartWithSong(kSongBars);
    Click(main().PictTeIn);
    sequencer.FailWhilePlaying("MMControl2", 7, "The synthesizer stopped.");
    Advance(1000);
    EXPECT_EQ(recorder.lines(), QStringList{"critical|Orvella|The synthesizer stopped."});
    EXPECT_EQ(main().MMControl2->DeviceID(), 0);
    ExpectTestsOff(main(), g());
}

}  // namespace
}  // namespace corvane::testing
