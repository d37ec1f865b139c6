#include "frontend/editors/ui/frm_keys.h"

#include <QLabel>

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/editors/key_list.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/editor_font.h"

namespace corvane::editors {
namespace {

constexpr const char* kNoKeysTag = "NoKeysChInfo";

}  // namespace

FrmKeys::FrmKeys(QWidget* parent) : FormDialog("FrmKeys", "Key Manager", parent) {
    resize(420, 300);
    auto* heading = MakeControl<QLabel>(this, "LblKeyList", {12, 8, 200, 18});
    heading->setText("Key List");
    LstKeyChPoints = MakeControl<platform::qt::SortedListBox>(this, "LstKeyChPoints");
    LstKeyChPoints->hide();
    LstKeyChPoints->setEnabled(false);
    LstKeyUser = MakeControl<platform::qt::SortedListBox>(this, "LstKeyUser", {12, 28, 200, 200});
    LstKeyUser->setFont(platform::qt::EditorFont());
    LblKeyFindInfo =
        MakeControl<platform::qt::CaptionLabel>(this, "LblKeyFindInfo", {12, 236, 396, 18});
    CmdOk = MakeControl<QPushButton>(this, "CmdOk", {228, 262, 86, 28});
    CmdOk->setText("Save");
    CmdOk->setDefault(true);
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {322, 262, 86, 28});
    CmdCancel->setText("Cancel");
    connect(CmdOk, &QPushButton::clicked, this, [this] { CmdOk_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
}

std::string FrmKeys::KeysDataPath() const {
    return App::Get().g.AppFolder + "/KeysData.Aco";
}

void FrmKeys::showEvent(QShowEvent* event) {
    FormDialog::showEvent(event);
    Form_Activate();
}

void FrmKeys::Form_Activate() {
    LblKeyFindInfo->SetCaption("");
    if (Tag == kNoKeysTag) {
        LstKeyChPoints->clear();
        LstKeyUser->clear();
    } else {
        LoadKeysData();
    }
}

void FrmKeys::LoadKeysData() {
    LstKeyChPoints->clear();
    LstKeyUser->clear();
    const std::string path = KeysDataPath();
    const auto length = platform::qt::FileLength(path);
    if (!length) {
        LblKeyFindInfo->SetCaption("Error while trying to open key data file <KeysData.Aco>");
        return;
    }
    const auto bytes = platform::qt::ReadAtMost(path, static_cast<std::size_t>(*length));
    if (!bytes) {
        LblKeyFindInfo->SetCaption("Error while trying to read the key data file <KeysData.Aco>");
        return;
    }
    const KeysDataRead read = ParseKeysData(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    for (const KeyChange& change : read.changes) {
        LstKeyChPoints->AddItem(QString::fromStdString(KeyChangeLine(change)));
        LstKeyUser->AddItem(QString::fromStdString(KeyUserItem(change)));
    }
    if (read.badLine) LblKeyFindInfo->SetCaption("Bad data in the key data file <KeysData.Aco>");
}

void FrmKeys::CmdOk_Click() {
    if (LstKeyChPoints->count() == 0) {
        LblKeyFindInfo->SetCaption("There is nothing in the Key List.");
        return;
    }
    std::vector<std::string> lines;
    for (int row = 0; row < LstKeyChPoints->count(); ++row)
        lines.push_back(LstKeyChPoints->List(row).toStdString());
    const std::string text = KeysDataText(lines);
    if (!platform::qt::WriteWholeFile(
            KeysDataPath(), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
        // The chord maker must not run on a key list that was not written.
        LblKeyFindInfo->SetCaption("Error while trying to write the key data file <KeysData.Aco>");
        return;
    }
    App::Get().g.KeysChanged = true;
    accept();
}

void FrmKeys::CmdCancel_Click() {
    reject();
}

}  // namespace corvane::editors
