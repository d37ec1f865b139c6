#include "frontend/styles/ui/frm_inst_list.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/slot_tables.h"

namespace corvane::styles {
namespace {

constexpr int kPictureSize = 48;

// A keyboard of eight white keys with their black keys.
QPixmap InstrumentPicture() {
    QPixmap picture(kPictureSize, kPictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    const int key = kPictureSize / 8;
    for (int i = 0; i < 8; ++i) {
        painter.fillRect(i * key, 8, key, 32, Qt::white);
        painter.drawRect(i * key, 8, key, 32);
    }
    for (int i : {0, 1, 3, 4, 5})
        painter.fillRect(i * key + key * 2 / 3, 8, key * 2 / 3, 19, Qt::black);
    return picture;
}

// A drum seen from the side, with two sticks.
QPixmap DrumPicture() {
    QPixmap picture(kPictureSize, kPictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(QColor(0xC0, 0x30, 0x30));
    painter.drawRect(8, 20, 32, 20);
    painter.setBrush(QColor(0xF0, 0xF0, 0xF0));
    painter.drawEllipse(8, 14, 32, 12);
    painter.drawLine(14, 4, 22, 18);
    painter.drawLine(34, 4, 26, 18);
    return picture;
}

}  // namespace

FrmInstList::FrmInstList(QWidget* parent)
    : DeactivatingDialog("FrmInstList", "Instrument List", parent) {
    setFixedSize(330, 380);
    LstInst = MakeControl<QListWidget>(this, "LstInst", {12, 12, 240, 356});
    LstInst->installEventFilter(this);
    connect(LstInst, &QListWidget::itemDoubleClicked, this, &FrmInstList::LstInst_DblClick);
    const QPixmap pictures[2] = {InstrumentPicture(), DrumPicture()};
    for (int i = 0; i < 2; ++i) {
        Image1[i] = MakeControl<QLabel>(this, ElementName("Image1", i));
        Image1[i]->setPixmap(pictures[i]);
        Image1[i]->hide();
    }
    Image2 = MakeControl<QLabel>(this, "Image2", {264, 12, kPictureSize, kPictureSize});
    CmdOk = MakeControl<QPushButton>(this, "CmdOk", {262, 300, 60, 28});
    CmdOk->setText("Ok");
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {262, 340, 60, 28});
    CmdCancel->setText("Cancel");
    for (QPushButton* button : {CmdOk, CmdCancel}) button->setAutoDefault(false);
    connect(CmdOk, &QPushButton::clicked, this, &FrmInstList::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmInstList::CmdCancel_Click);
    ShowPicture(0);
}

void FrmInstList::ShowPicture(int index) {
    Image2->setPixmap(Image1.at(index)->pixmap());
}

void FrmInstList::Form_Activate() {
    const CoreGlobals& g = App::Get().g;
    LstInst->setFocus();
    if (g.InstListChannel == kDrumChannel) {
        setWindowTitle("Drum Kit Programs:");
        if (!DrumKitsListed) {
            LstInst->clear();
            FillDrumKitList();
        }
    } else {
        setWindowTitle("Instrument List:");
        if (!InstrumentsListed) {
            LstInst->clear();
            FillInstrumentList();
        }
    }
    LstInst->setCurrentRow(g.ListIndexArg);
    if (QListWidgetItem* item = LstInst->currentItem()) LstInst->scrollToItem(item);
}

void FrmInstList::FillInstrumentList() {
    for (int row = 0; row <= 128; ++row)
        LstInst->addItem(QString::fromStdString(InstrumentNames()[row]));
    InstrumentsListed = true;
    DrumKitsListed = false;
}

void FrmInstList::FillDrumKitList() {
    for (int row = 0; row <= 128; ++row)
        LstInst->addItem(QString::fromStdString(DrumKitNames()[row]));
    InstrumentsListed = false;
    DrumKitsListed = true;
}

void FrmInstList::CmdOk_Click() {
    App& app = App::Get();
    // A list without a selection chooses what the part had.
    const int row = LstInst->currentRow() < 0 ? app.g.ListIndexArg : LstInst->currentRow();
    app.g.InstListSel = std::to_string(row);
    // Applied before the list hides, so the main window's activation finds no request left.
    if (app.g.InstListPart > 0) {
        const int part = app.g.InstListPart - 1;
        app.g.InstListPart = 0;
        SlotTables& tables = app.slotTables;
        tables.PartProgram(tables.CurSlot, part) = static_cast<std::int16_t>(row);
        app.frmMain().LblProgNum.at(part)->SetCaption(QString::number(row));
    }
    hide();
}

void FrmInstList::Form_Deactivate() {
    CoreGlobals& g = App::Get().g;
    g.InstListSel = std::to_string(g.ListIndexArg);
    g.InstListPart = 0;
}

void FrmInstList::LstInst_KeyUp(int keyCode) {
    if (keyCode == 13) CmdOk_Click();
}

bool FrmInstList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LstInst && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LstInst_KeyUp(13);
            return true;
        }
    }
    return DeactivatingDialog::eventFilter(watched, event);
}

}  // namespace corvane::styles
