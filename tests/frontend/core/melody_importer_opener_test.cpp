// The melody importer opener: importing from the named MIDI song or generating only, the key
// detection button, a song that cannot be copied, and nothing at all while the program is busy.
#include "frontend/editors/ui/frm_quenby.h"
#include "tests/frontend/core/file_commands_fixture.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

class MelodyImporterOpenerTest : public FileCommandsTest {
  protected:
    editors::FrmQuenby& importer() { return app().frmQuenby(); }
    // The import controls that follow the mode: the track options and the four boxes.
    std::vector<bool> ImportControls() {
        std::vector<bool> enabled;
        for (const QRadioButton* track : importer().OptTrk) enabled.push_back(track->isEnabled());
        for (const QWidget* control : {static_cast<QWidget*>(importer().TxtScaleVol),
                                       static_cast<QWidget*>(importer().ChkNhan2),
                                       static_cast<QWidget*>(importer().TxtIntro),
                                       static_cast<QWidget*>(importer().TxtEnding)}) {
            enabled.push_back(control->isEnabled());
        }
        return enabled;
    }
};

TEST_F(MelodyImporterOpenerTest, TheNamedSongDecidesBetweenImportAndGeneration) {
    fs::create_directories(folder() / "songs");
    const std::string song = (folder() / "songs" / "tune.mid").string();
    const std::string project = (folder() / "songs" / "tune.QXS").string();
    WriteFile(song, WaltzInG(4));
    WriteFile(project, "a project");
    const struct {
        const char* name;
        std::string input;
        bool inputBin;      // "InPut.bin" holds a song
        bool afterFailure;  // opened by Load In after the loader refused the song
        bool import;
        bool keyDetection;
    } cases[] = {
        {"no song named", "", true, false, false, false},
        {"a song project", project, true, false, false, false},
        {"a song, no input yet", song, false, false, true, false},
        {"a song and its input", song, true, false, true, true},
        {"a song after a load failure", song, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        importer().hide();
        importer().LblKeyFindInfo->SetCaption("G  Major");
        WriteFile(folder() / "InpMel.bin", "left from before");
        fs::remove(folder() / "InPut.bin");
        if (c.inputBin) WriteFile(folder() / "InPut.bin", WaltzInG(4));
        main().TxtInName->setText(QString::fromStdString(c.input));
        g().OpenedAfterLoadFailure = c.afterFailure;
        main().OpenMelodyImporter();
        g().OpenedAfterLoadFailure = false;

        ASSERT_TRUE(importer().isVisible());
        EXPECT_EQ(importer().windowTitle().toStdString(),
                  c.import ? "Generate/Import Melody from: " + c.input : "Auto Music Generatator");
        EXPECT_EQ(importer().CmdLoadIn->isEnabled(), c.import);
        EXPECT_EQ(ImportControls(), std::vector<bool>(20, c.import));
        EXPECT_EQ(importer().CmdKeyDetect->isEnabled(), c.keyDetection);
        EXPECT_EQ(importer().LblKeyFindInfo->Caption().isEmpty(), !c.keyDetection);
        if (c.import) {
            EXPECT_EQ(ReadBytes(folder() / "InpMel.bin"), ReadBytes(c.input));
        } else {
            EXPECT_FALSE(fs::exists(folder() / "InpMel.bin"));
        }
    }
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(MelodyImporterOpenerTest, ASongThatCannotBeCopiedOpensNothing) {
    main().TxtInName->setText(QString::fromStdString(InFolder("gone.mid")));
    WriteFile(folder() / "InpMel.bin", "left from before");
    main().OpenMelodyImporter();
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Cannot get data from selected midi file."});
    EXPECT_FALSE(importer().isVisible());
    EXPECT_FALSE(fs::exists(folder() / "InpMel.bin"));
}

TEST_F(MelodyImporterOpenerTest, NothingHappensWhileTheProgramIsBusy) {
    WriteFile(folder() / "InpMel.bin", "kept");
    main().TxtInName->setText("");
    g().BusyFlags.RippleBusy = true;
    main().OpenMelodyImporter();
    g().BusyFlags.RippleBusy = false;
    EXPECT_FALSE(importer().isVisible());
    EXPECT_EQ(ReadString(folder() / "InpMel.bin"), "kept");
}

}  // namespace
}  // namespace corvane::testing
