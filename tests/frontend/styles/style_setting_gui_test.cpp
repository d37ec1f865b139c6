// User style files on the screen: a load restores every slot's style, part values, the
// Auto-Octave option and the echo settings into the tables, the style manager's lists and the
// main window; the older 20-line layout leaves the last two slots alone; bad files are refused
// with their messages and change nothing; and the save dialog writes what a load reads back.
#include <sys/stat.h>
#include <unistd.h>

#include <QListWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frontend/core/vb_text.h"
#include "frontend/styles/style_setting_file.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "frontend/styles/ui/frm_sections.h"
#include "tests/frontend/styles/panel_fixture.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::styles::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A setting with a different value everywhere: mode codes cycle through 0, 1, 2, 3 and 10.
StyleSetting Varied(std::array<std::string, 5> files) {
    StyleSetting setting;
    setting.styleFile = std::move(files);
    setting.sectVol = {30, 40, 50, 60, 100};
    const int codes[5] = {0, 1, 2, 3, kSustainModeCode};
    for (int s = 0; s < 5; ++s) {
        for (int p = 0; p < 5; ++p)
            setting.parts[s][p] = {s * 10 + p + 1, 100 - s * 5 - p, codes[(s + p) % 5]};
    }
    setting.autoOctave = 1;
    setting.echoVoice = {77, 12};
    setting.echoSetting = {2, 8};
    return setting;
}

const std::array<std::string, 5> kFiles = {"Rk4430.sty", "Wz3431.sty", "Pk2430.sty", "Bl4412.sty",
                                           "Sw3412.sty"};

class StyleSettingTest : public PanelTest {
  protected:
    void SetUp() override { StartPanel(); }

    FrmSaveSetting& saver() { return app().frmSaveSetting(); }
    FrmSections& sections() { return app().frmSections(); }

    void Write(const std::string& name, const std::string& text) {
        corvane::testing::WriteFile(folder() / name, text);
    }
    void Write(const std::string& name, const StyleSetting& setting) {
        Write(name, StyleSettingText(setting));
    }
    bool Load(const std::string& path, const std::string& title) {
        return saver().LoadStySetting(path, title);
    }
    int LibraryIndex(const std::string& file) {
        const auto& files = app().g.Styles.StyleFiles;
        return static_cast<int>(std::find(files.begin(), files.end(), file) - files.begin());
    }
    std::string Boxes() { return recorder.lines().join("\n").toStdString(); }

    // Everything a load may change: the tables, the style manager's lists, the window's slot
    // labels with their tips, the echo controls and the loaded title.
    struct State {
        std::vector<int> tables;
        std::vector<std::string> texts;
        friend bool operator==(const State&, const State&) = default;
    };
    State Snapshot() {
        State state{TableValues(tables()), {}};
        for (const QListWidget* list : {sections().LstSectStyles, sections().LstSectIdx,
                                        sections().LstSectStylesOld, sections().LstSectIdxOld}) {
            for (const QString& row : Rows(list)) state.texts.push_back(row.toStdString());
        }
        for (int s = 0; s < 5; ++s) {
            state.texts.push_back(main().LblStyle[s]->Caption().toStdString());
            state.texts.push_back(main().LblStyle[s]->toolTip().toStdString());
            state.texts.push_back(tables().SlotStyleNames[s]);
            state.texts.push_back(tables().SlotStyleFiles[s]);
        }
        for (int i = 0; i < 2; ++i) {
            state.texts.push_back(main().LblEcho[i]->Caption().toStdString());
            state.texts.push_back(main().LblBackLevel[i]->Caption().toStdString());
            state.tables.push_back(main().CanGatEcho[i]->Value());
        }
        state.tables.push_back(tables().AutoOctave);
        state.texts.push_back(tables().SwPointsText);
        return state;
    }

    // The tables, lists and labels of one slot.
    std::vector<std::string> SlotState(int s) {
        std::vector<std::string> values;
        const SlotTables& t = tables();
        auto add = [&](long v) { values.push_back(std::to_string(v)); };
        add(t.SectStyleIdx[s]);
        add(t.SectVol[s]);
        for (int p = 0; p < 6; ++p) {
            for (const auto* table : {&t.PartProgram, &t.PartMode, &t.PartSustain, &t.StyNoteBase,
                                      &t.StyPan, &t.StyChannel, &t.StyMode, &t.StySustain})
                add((*table)(s, p));
        }
        for (int p = 0; p < 7; ++p) add(t.PartVol(s, p));
        values.push_back(t.SlotStyleNames[s]);
        values.push_back(t.SlotStyleFiles[s]);
        values.push_back(main().LblStyle[s]->Caption().toStdString());
        values.push_back(main().LblStyle[s]->toolTip().toStdString());
        for (const QListWidget* list : {sections().LstSectStyles, sections().LstSectIdx})
            values.push_back(list->item(s)->text().toStdString());
        return values;
    }

    // The values of `setting` are what the tables hold.
    void ExpectApplied(const StyleSetting& setting) {
        for (int s = 0; s < setting.slotCount; ++s) {
            SCOPED_TRACE(::testing::Message() << "slot " << s);
            const int index = LibraryIndex(setting.styleFile[s]);
            const QString name = QString::fromStdString(app().g.Styles.StyleNames.at(index));
            EXPECT_EQ(tables().SectStyleIdx[s], index);
            EXPECT_EQ(main().LblStyle[s]->Caption(), name);
            EXPECT_EQ(main().LblStyle[s]->toolTip().toStdString(), setting.styleFile[s]);
            EXPECT_EQ(tables().SlotStyleFiles[s], setting.styleFile[s]);
            EXPECT_EQ(tables().SlotStyleNames[s], name.toStdString());
            EXPECT_EQ(sections().LstSectStyles->item(s)->text(), name);
            EXPECT_EQ(sections().LstSectStylesOld->item(s)->text(), name);
            const int row = sections().LstStyles->row(
                sections().LstStyles->findItems(name, Qt::MatchExactly).first());
            EXPECT_EQ(sections().LstSectIdx->item(s)->text().toStdString(), ZeroPad(row, 4));
            EXPECT_EQ(tables().SectVol[s], setting.sectVol[s]);
            EXPECT_EQ(tables().PartVol(s, 5), setting.sectVol[s]);
            for (int p = 0; p < 5; ++p) {
                const SettingPart& part = setting.parts[s][p];
                EXPECT_EQ(tables().PartProgram(s, p), part.program);
                EXPECT_EQ(tables().PartVol(s, p), part.volume);
                EXPECT_EQ(tables().FileModeCode(s, p), part.modeCode);
            }
        }
    }
};

TEST_F(StyleSettingTest, AProjectsSettingsComeBackWhole) {
    main().OptSty3->click();
    const StyleSetting saved = Varied(kFiles);
    Write("QXsDataSet.dat", saved);
    ASSERT_TRUE(Load("QXsDataSet.dat", "QXsDataSet.dat"));
    EXPECT_EQ(Boxes(), "");
    ExpectApplied(saved);
    EXPECT_EQ(tables().AutoOctave, 1);
    EXPECT_TRUE(sections().ChkGhQ8->isChecked());
    EXPECT_EQ(main().LblEcho[0]->Caption(), "077");
    EXPECT_EQ(main().LblEcho[1]->Caption(), "012");
    EXPECT_EQ(main().CanGatEcho[0]->Value(), 2);
    EXPECT_EQ(main().LblBackLevel[0]->Caption(), "7");
    EXPECT_EQ(main().CanGatEcho[1]->Value(), 8);
    EXPECT_EQ(main().LblBackLevel[1]->Caption(), "1");
    EXPECT_EQ(saver().TxtSettingPathName->text(), "");
    EXPECT_EQ(tables().SwPointsText, "QXsDataSet.dat");
    EXPECT_EQ(main().LblInName->Caption(), "V418 Style Setting Load Ok.");
    // The panel shows the slot it showed before, with the loaded values.
    EXPECT_EQ(tables().CurSlot, 2);
    EXPECT_TRUE(main().OptSty3->isChecked());
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(main().LblProgNum[p]->Caption(), QString::number(saved.parts[2][p].program));
        EXPECT_EQ(main().CanGatVol[p]->Value(), saved.parts[2][p].volume);
        EXPECT_EQ(main().LblInstM[p]->Caption(), QString::number(saved.parts[2][p].modeCode % 10));
        EXPECT_EQ(main().LineMode[p]->isHidden(), saved.parts[2][p].modeCode != 10);
    }
    EXPECT_EQ(main().CanGatVol[5]->Value(), 50);

    // The workflow's commit after Proceed changes nothing and keeps the title.
    const State loaded = Snapshot();
    sections().CmdOk_Click();
    EXPECT_EQ(Snapshot(), loaded);

    // Saved from the dialog, the file is the one that was loaded.
    saver().show();
    saver().TxtSettingPathName->setText("  Mine ");
    saver().CmdSave->click();
    EXPECT_FALSE(saver().isVisible());
    EXPECT_EQ(ReadText(folder() / "Mine.set"), StyleSettingText(saved));

    // Something else, then the saved file as a project's settings again.
    Write("other.set",
          Varied({"Bd6831.sty", "Bd6831.sty", "Rb4413.sty", "Rb4413.sty", "Jw3430.sty"}));
    ASSERT_TRUE(Load((folder() / "other.set").string(), "other.set"));
    ASSERT_NE(Snapshot(), loaded);
    fs::copy_file(folder() / "Mine.set", folder() / "QXsDataSet.dat",
                  fs::copy_options::overwrite_existing);
    ASSERT_TRUE(Load("QXsDataSet.dat", "QXsDataSet.dat"));
    EXPECT_EQ(Snapshot(), loaded);
    EXPECT_EQ(Boxes(), "");
}

TEST_F(StyleSettingTest, TheOlderLayoutLeavesSlotsFourAndFiveAlone) {
    Write("first.set", Varied(kFiles));
    ASSERT_TRUE(Load("first.set", "first.set"));
    const std::vector<std::string> slot4 = SlotState(3);
    const std::vector<std::string> slot5 = SlotState(4);
    Write("old.set",
          "\"Jw3430.sty\",90\r\n\"ds4433.STY\",25\r\nMr2431.sty,100\r\n"
          "1,2,0\r\n3,4,1\r\n5,6,2\r\n7,8,3\r\n9,10,10\r\n"
          "11,12,0\r\n13,14,0\r\n15,16,0\r\n17,18,0\r\n19,20,0\r\n"
          "21,22,0\r\n23,24,0\r\n25,26,0\r\n27,28,0\r\n29,30,1\r\n"
          "1,0\r\n"
          "5,9,128,0\r\n");
    ASSERT_TRUE(Load("old.set", "old.set"));
    EXPECT_EQ(Boxes(), "");
    EXPECT_EQ(main().LblInName->Caption(), "V416 Style Setting Load Ok.");
    EXPECT_EQ(tables().SectStyleIdx[0], LibraryIndex("Jw3430.sty"));
    EXPECT_EQ(tables().SectStyleIdx[1], LibraryIndex("Ds4433.sty"));
    EXPECT_EQ(tables().SlotStyleFiles[2], "Mr2431.sty");
    EXPECT_EQ(tables().SectVol[1], 25);
    EXPECT_EQ(tables().PartProgram(2, 4), 29);
    EXPECT_EQ(tables().PartSustain(0, 4), 1);
    EXPECT_EQ(tables().AutoOctave, 0);
    EXPECT_EQ(main().LblEcho[0]->Caption(), "005");
    EXPECT_EQ(main().LblEcho[1]->Caption(), "128");
    EXPECT_EQ(main().CanGatEcho[0]->Value(), 9);
    EXPECT_EQ(saver().TxtSettingPathName->text(), "old.set");
    EXPECT_EQ(SlotState(3), slot4);
    EXPECT_EQ(SlotState(4), slot5);
}

TEST_F(StyleSettingTest, TheCommitAfterProceedKeepsTheTitleOfAnOlderFile) {
    // Straight after the start-up: the style manager was never opened.
    Write(
        "old.set", "\"Jw3430.sty\",90\r\n\"Ds4433.sty\",25\r\n\"Mr2431.sty\",100\r\n" + [] {
            std::string parts;
            for (int i = 0; i < 15; ++i) parts += "0,0,0\r\n";
            return parts;
        }() + "1,0\r\n50,3,90,4\r\n");
    ASSERT_TRUE(Load("old.set", "old.set"));
    const State loaded = Snapshot();
    sections().CmdOk_Click();
    EXPECT_EQ(tables().SwPointsText, "old.set");
    EXPECT_EQ(Snapshot(), loaded);
}

TEST_F(StyleSettingTest, AStyleTheLibraryLacksBecomesTheFirstAndIsNamedOnce) {
    Write("gone.set",
          Varied({"Rk4430.sty", "Gone01.sty", "GONE01.STY", "Rk4430.sty", "gone01.sty"}));
    ASSERT_TRUE(Load("gone.set", "gone.set"));
    ASSERT_EQ(recorder.entries().size(), 1u) << Boxes();
    EXPECT_EQ(recorder.entries()[0].icon, platform::qt::MsgIcon::kInformation);
    EXPECT_EQ(recorder.entries()[0].text.toStdString(),
              "Some data in gone.set are bad or no longer valid.\n"
              "Default values has been used instead. You may need to Re-Set the Style Settings.\n"
              "The style data file GONE01.STY  not loaded or not available.");
    for (int s : {1, 2, 4}) {
        EXPECT_EQ(tables().SectStyleIdx[s], 0);
        EXPECT_EQ(main().LblStyle[s]->Caption(), " 4/4 Pop 8-Beat");
        EXPECT_EQ(tables().SlotStyleFiles[s], "8B4431.sty");
    }
    EXPECT_EQ(tables().SectStyleIdx[3], LibraryIndex("Rk4430.sty"));
    // The part values are still the file's.
    EXPECT_EQ(tables().PartProgram(1, 3), 14);
    EXPECT_EQ(main().LblInName->Caption(), "V418 Style Setting Load Ok.");
}

TEST_F(StyleSettingTest, OutOfRangeValuesKeepTheCurrentOnesWithOneSummary) {
    StyleSetting setting = Varied(kFiles);
    Write("good.set", setting);
    ASSERT_TRUE(Load("good.set", "good.set"));
    setting.parts[0][0].program = 99;
    setting.sectVol[0] = 101;
    setting.sectVol[4] = 19;
    setting.parts[1][2].program = 129;
    setting.parts[1][3].program = -1;
    setting.parts[2][3].volume = -1;
    setting.parts[2][4].volume = 128;
    setting.parts[3][0].modeCode = 4;
    setting.parts[3][1].modeCode = 9;
    setting.parts[3][2].modeCode = 11;
    setting.parts[3][3].modeCode = -1;
    setting.echoVoice = {0, 129};
    setting.echoSetting = {-1, 10};
    Write("bad.set", setting);
    ASSERT_TRUE(Load("bad.set", "bad.set"));
    ASSERT_EQ(recorder.entries().size(), 1u) << Boxes();
    EXPECT_EQ(recorder.entries()[0].text.toStdString(),
              "Some data in bad.set are bad or no longer valid.\n"
              "Default values has been used instead. You may need to Re-Set the Style Settings.\n");
    // What the slot's style read left stays: the master volume 80, the style's own instrument
    // and volume, the style's play mode; the echo controls keep what they showed.
    EXPECT_EQ(tables().SectVol[0], 80);
    EXPECT_EQ(tables().SectVol[4], 80);
    EXPECT_EQ(tables().PartProgram(1, 2), 0);
    EXPECT_EQ(tables().PartProgram(1, 3), 0);
    EXPECT_EQ(tables().PartVol(2, 3), 0);
    EXPECT_EQ(tables().PartVol(2, 4), 0);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(tables().PartMode(3, p), tables().StyMode(3, p)) << p;
        EXPECT_EQ(tables().PartSustain(3, p), tables().StySustain(3, p)) << p;
    }
    EXPECT_EQ(main().LblEcho[0]->Caption(), "077");
    EXPECT_EQ(main().LblEcho[1]->Caption(), "012");
    EXPECT_EQ(main().CanGatEcho[0]->Value(), 2);
    EXPECT_EQ(main().CanGatEcho[1]->Value(), 8);
    // Everything else is the file's.
    EXPECT_EQ(tables().PartProgram(0, 0), 99);
    EXPECT_EQ(tables().SectVol[1], 40);
    EXPECT_EQ(tables().PartVol(2, 2), setting.parts[2][2].volume);
    EXPECT_EQ(tables().FileModeCode(3, 4), setting.parts[3][4].modeCode);
}

TEST_F(StyleSettingTest, RefusedFilesChangeNothing) {
    std::vector<std::string> lines;
    {
        std::istringstream text(StyleSettingText(Varied(kFiles)));
        for (std::string line; std::getline(text, line);) lines.push_back(line + "\n");
    }
    auto join = [](const std::vector<std::string>& from, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += from[i];
        return text;
    };
    std::vector<std::string> notNumber = lines;
    notNumber[9] = "1,x,2\r\n";
    std::vector<std::string> wide = lines;
    wide[31] = "50,3,90,40000\r\n";
    // Three slots' records, then an echo record that is one item short.
    std::vector<std::string> older(lines.begin(), lines.begin() + 3);
    older.insert(older.end(), lines.begin() + 5, lines.begin() + 20);
    older.push_back("1,0\r\n");
    older.push_back("50,3,90\r\n");
    struct Case {
        const char* name;
        std::string text;
        const char* box;
        const char* status;
    };
    const Case cases[] = {
        {"short.set", join(lines, 31),
         "critical|Orvella|The data in <short.set> is invalid: Bad LineCnt (31)", "before"},
        {"gap.set", join(lines, 10) + "\r\n" + join(lines, 32),
         "critical|Orvella|The data in <gap.set> is invalid: Bad LineCnt (10)", "before"},
        {"text.set", join(notNumber, 32),
         "critical|Orvella|Data in <Title> is invalid. The data not loaded.",
         "V418 Style Setting Load Error."},
        {"wide.set", join(wide, 32),
         "critical|Orvella|Data in <Title> is invalid. The data not loaded.",
         "V418 Style Setting Load Error."},
        {"older.set", join(older, 20),
         "critical|Orvella|V416Set Load Error:\\nData in Title is invalid. The data not loaded.",
         "V416 Style Setting Load Error."},
        {"", "", "critical|Orvella|Cannot open file <missing.set> for reading.", "before"},
    };
    const State before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = "missing.set";
        if (*c.name) {
            path = c.name;
            Write(path, c.text);
        }
        recorder.clear();
        main().LblInName->SetCaption("before");
        EXPECT_FALSE(Load(path, "Title"));
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        EXPECT_EQ(main().LblInName->Caption(), c.status);
        EXPECT_EQ(Snapshot(), before);
    }
    // A folder of that name is no file to read either.
    fs::create_directory(folder() / "folder.set");
    recorder.clear();
    EXPECT_FALSE(Load("folder.set", "folder.set"));
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Cannot open file <folder.set> for reading."});
    // A file that opens but cannot be read (every read of this one fails with an I/O error) is
    // no file of a few lines.
    recorder.clear();
    EXPECT_FALSE(Load("/proc/self/mem", "mem"));
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Cannot open file </proc/self/mem> for reading."});
}

TEST_F(StyleSettingTest, AUserStyleIsOfferedForSavingAndItsTitleShortened) {
    const std::string title = "My Very Favourite Rock 001.SET";  // 30 characters
    const std::string path = (folder() / title).string();
    Write(title, Varied(kFiles));
    ASSERT_TRUE(Load(path, title));
    EXPECT_EQ(saver().TxtSettingPathName->text().toStdString(), path);
    EXPECT_EQ(tables().SwPointsText, "...ry Favourite Rock 001.SET");
    EXPECT_EQ(tables().SwPointsText.size(), 28u);
}

class SaveSettingTest : public StyleSettingTest {
  protected:
    void Save(const QString& typed) {
        saver().show();
        saver().TxtSettingPathName->setText(typed);
        saver().CmdSave->click();
    }
};

TEST_F(SaveSettingTest, SavesNewFilesAndAsksBeforeReplacingOne) {
    saver().show();
    saver().CmdSave->click();  // nothing typed: nothing happens
    EXPECT_TRUE(saver().isVisible());
    EXPECT_EQ(Boxes(), "");

    // Enter released in the path saves.
    saver().TxtSettingPathName->setText("mine");
    Key(saver().TxtSettingPathName, Qt::Key_Return);
    EXPECT_FALSE(saver().isVisible());
    EXPECT_EQ(Boxes(), "");
    const std::string first = ReadText(folder() / "mine.set");
    EXPECT_EQ(
        CountSettingLines({reinterpret_cast<const std::uint8_t*>(first.data()), first.size()}), 32);
    EXPECT_EQ(first.substr(0, 17), "\"8B4431.sty\",80\r\n");

    const QString question =
        "question|Orvella|The file:\\n mine.set\\nalready exit. Click <Ok> to overwrite, or "
        "<Cancel> to abort:";
    tables().PartProgram(0, 0) = 5;
    recorder.Answer(platform::qt::MsgResult::kCancel);
    Save(" mine.set ");
    EXPECT_EQ(recorder.lines(), QStringList{question});
    EXPECT_FALSE(saver().isVisible());
    EXPECT_EQ(ReadText(folder() / "mine.set"), first);

    recorder.clear();
    Save("mine");
    EXPECT_EQ(recorder.lines(), QStringList{question});
    EXPECT_NE(ReadText(folder() / "mine.set"), first);
    // The first slot's bass: program 5 now, the style's own volume, its play mode 1.
    EXPECT_EQ(ReadText(folder() / "mine.set").substr(17 * 5, 7), "5,0,1\r\n");
    EXPECT_EQ(saver().TxtSettingPathName->text(), "mine");  // kept for the next opening
}

TEST_F(SaveSettingTest, ReadOnlyAndUnwritableFilesAreLeftAsTheyWere) {
    Write("locked.set", "old");
    fs::permissions(folder() / "locked.set", fs::perms::owner_read | fs::perms::group_read);
    Save("locked");
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|The file:\\n locked.set\\nalready exit and is read "
                          "only, cannot overwrite."});
    EXPECT_FALSE(saver().isVisible());
    EXPECT_EQ(ReadText(folder() / "locked.set"), "old");

    recorder.clear();
    Save("no/such/folder/x");
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Cannot creat file <no/such/folder/x.set>."});
    EXPECT_FALSE(fs::exists(folder() / "no"));

    // The save writes a temporary file beside the destination and renames it over; when the
    // rename cannot replace what is there (here a folder), the box says so and nothing of the
    // new file is left behind.
    fs::create_directory(folder() / "keep.set");
    recorder.clear();
    Save("keep.set");
    ASSERT_FALSE(recorder.lines().isEmpty());
    EXPECT_EQ(recorder.lines().back(), "critical|Orvella|Cannot creat file <keep.set>.");
    EXPECT_TRUE(fs::is_directory(folder() / "keep.set"));
    for (const auto& entry : fs::directory_iterator(folder()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(SaveSettingTest, EscapeAndAClickElsewhereCloseIt) {
    saver().show();
    Key(&saver(), Qt::Key_Escape);
    EXPECT_FALSE(saver().isVisible());
    saver().show();
    Click(main().LblInName);
    EXPECT_FALSE(saver().isVisible());
    saver().show();
    saver().close();
    EXPECT_FALSE(saver().isVisible());
}

}  // namespace
}  // namespace corvane::styles::testing
