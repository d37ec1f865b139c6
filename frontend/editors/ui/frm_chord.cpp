#include "frontend/editors/ui/frm_chord.h"

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/ui/workflow_neighbours.h"
#include "frontend/core/vb_text.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/editor_font.h"
#include "platform/qt/msg_box.h"

namespace corvane::editors {
namespace {

constexpr Colour kBarListIdle = 0xC0C0C0;

}  // namespace

FrmChord::FrmChord(QWidget* parent) : FormDialog("FrmChord", "Edit Chord List", parent) {
    resize(560, 440);
    LstTemp = MakeControl<QListWidget>(this, "LstTemp");
    LstTemp->hide();
    MSFlexGrid1 = MakeControl<QTableWidget>(this, "MSFlexGrid1", {8, 36, 544, 360});
    MSFlexGrid1->setFont(platform::qt::EditorFont());
    LblKey = MakeControl<platform::qt::CaptionLabel>(this, "LblKey", {8, 8, 120, 20});
    TxtUsrList = MakeControl<QLineEdit>(this, "TxtUsrList", {136, 8, 240, 20});
    CmdBrowseUsr = MakeControl<QPushButton>(this, "CmdBrowseUsr", {384, 8, 80, 22});
    CmdBrowseUsr->setText("Browse");
    CmdSaveUsr = MakeControl<QPushButton>(this, "CmdSaveUsr", {472, 8, 80, 22});
    CmdSaveUsr->setText("Save to file");
}

void FrmChord::ClearMsData() {
    ChordRecords.clear();
}

void FrmChord::SetGridForeColour(Colour colour) {
    gridForeColour_ = colour;
    MSFlexGrid1->setStyleSheet("color: " + platform::qt::ColourOf(colour).name());
}

bool FrmChord::DoCmdLoad(bool useFixedKey) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    FrmMain& main = app.frmMain();
    if (main.CmdTestOut->isEnabled() && g.TestOn) main.CmdTestOut_Click();
    g.OutputReady = false;
    main.PictSave->setEnabled(false);
    main.PictSOut->setEnabled(false);
    g.ChordMsCount = 0;
    main.LblTotalMCnt->SetCaption("000");

    MSFlexGrid1->hide();
    ClearMsData();
    LstTemp->clear();
    main.LstHa->clear();
    main.LstHa->setStyleSheet("color: " + platform::qt::ColourOf(kBarListIdle).name());
    if (useFixedKey) g.MyVmCode = kFixedChordKey;

    // A missing file reads as an empty one: no measures.
    const std::string path = g.AppFolder + "/Data.aco";
    const auto length = platform::qt::FileLength(path);
    const auto stored =
        platform::qt::ReadAtMost(path, length ? static_cast<std::size_t>(*length) : 0);
    ChordDataRead read = ReadChordData(stored.value_or(std::vector<std::uint8_t>()), g.MyVmCode);
    const auto fail = [&] {
        ClearMsData();
        LstTemp->clear();
        // The bar list mirrors the line list; rows of refused data must not stay on show.
        main.LstHa->clear();
        MSFlexGrid1->show();
        return false;
    };
    if (read.error) {
        platform::qt::MsgBox(
            QString::fromLatin1(read.error->data(), static_cast<int>(read.error->size())),
            platform::qt::MsgIcon::kCritical);
        return fail();
    }
    ChordRecords = std::move(read.records);
    for (const ChordRecord& record : ChordRecords) {
        const QString line = QString::fromLatin1(record.ChordListLine().c_str());
        LstTemp->addItem(line);
        main.LstHa->addItem(line.left(static_cast<int>(kBarListWidth)));
    }
    const int count = static_cast<int>(ChordRecords.size());
    main.LblTotalMCnt->SetCaption(QString::fromStdString(ZeroPad(count, 3)));
    g.ChordMsCount = CheckChordMeasureCount(count, g.ChordFromMaker, g.MakerMsCount);
    if (g.ChordMsCount == 0) {
        fail();
        platform::qt::MsgBox(kInvalidMeasureCountText, platform::qt::MsgIcon::kCritical);
        return false;
    }
    main.LstHa->setCurrentRow(0);
    CmdSaveUsr->setEnabled(false);
    MSFlexGrid1->show();
    return true;
}

}  // namespace corvane::editors
