#include "frontend/core/ui/frm_select_file.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "frontend/app/app.h"
#include "frontend/core/ui/file_commands.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"
#include "platform/qt/msg_box.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using platform::qt::MsgBox;
using platform::qt::MsgIcon;

constexpr int kEnterKey = 13;
constexpr int kPathRole = Qt::UserRole;
constexpr const char* kRoot = "/";
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndent = 12;  // pixels per folder level in the folder list

// Draws each folder of the folder list, icon and name, moved right by its level, so the list
// reads as the path down to the shown folder and the folders inside it.
class FolderLevelDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem moved(option);
        moved.rect.setLeft(option.rect.left() + index.data(kLevelRole).toInt() * kIndent);
        QStyledItemDelegate::paint(painter, moved, index);
    }
};

bool Hidden(const std::string& name) {
    return !name.empty() && name.front() == '.';
}

// "/a/b/" and "/a/./b" both give "/a/b"; the root stays "/".
std::string Normalised(const std::string& folder) {
    std::string path = fs::path(folder).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The folders from the root down to `folder`, each with its full path.
std::vector<std::pair<std::string, std::string>> Ancestors(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> chain{{kRoot, kRoot}};
    std::string path;
    std::size_t start = 1;
    while (start < folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos) end = folder.size();
        const std::string name = folder.substr(start, end - start);
        path += "/" + name;
        chain.emplace_back(name, path);
        start = end + 1;
    }
    return chain;
}

std::vector<std::string> Subfolders(const std::string& folder, std::error_code& error) {
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code statError;
        if (!Hidden(name) && it->is_directory(statError)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return platform::qt::CompareNames(a, b) < 0;
    });
    return names;
}

}  // namespace

FrmSelectFile::FrmSelectFile(QWidget* parent)
    : DeactivatingDialog("FrmSelectFile", "Orvella Browser", parent) {
    setFixedSize(470, 318);
    // Controls in the order of the form.
    OptQXs = MakeControl<QRadioButton>(this, "OptQXs", {244, 222, 210, 20});
    OptQXs->setText("Orvella song's data");
    OptMid = MakeControl<QRadioButton>(this, "OptMid", {244, 244, 210, 20});
    OptMid->setText("Midi files");
    OptMid->setChecked(true);
    CmdDelete = MakeControl<QPushButton>(this, "CmdDelete", {318, 276, 68, 28});
    CmdDelete->setText("Delete");
    CmdDelete->setToolTip(" Delete selected User Style ");
    CmdOk = MakeControl<QPushButton>(this, "CmdOk", {244, 276, 68, 28});
    CmdOk->setText("Ok");
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {392, 276, 68, 28});
    CmdCancel->setText("Close");
    for (QPushButton* button : {CmdDelete, CmdOk, CmdCancel}) button->setAutoDefault(false);
    TxtFileName = MakeControl<QLineEdit>(this, "TxtFileName", {10, 28, 222, 22});
    DrvList = MakeControl<QComboBox>(this, "DrvList", {244, 10, 216, 24});
    DrvList->addItem(kRoot);
    DirList = MakeControl<QListWidget>(this, "DirList", {244, 40, 216, 154});
    DirList->setItemDelegate(new FolderLevelDelegate(DirList));
    DirList->setIconSize(QSize(16, 16));
    FileList = MakeControl<QListWidget>(this, "FileList", {10, 56, 222, 228});
    LblFileType = MakeControl<QLabel>(this, "LblFileType", {244, 202, 210, 18});
    LblFileType->setText("Selected file type:");
    LblLuuY = MakeControl<QLabel>(this, "LblLuuY", {10, 290, 222, 20});
    LblFName = MakeControl<QLabel>(this, "LblFName", {10, 8, 222, 18});
    LblFName->setText("Selected file:");
    CmdOk->setEnabled(false);
    CmdDelete->setEnabled(false);

    connect(OptMid, &QRadioButton::clicked, this, [this] { OptMid_Click(); });
    connect(OptQXs, &QRadioButton::clicked, this, [this] { OptQXs_Click(); });
    connect(CmdOk, &QPushButton::clicked, this, [this] { CmdOk_Click(); });
    connect(CmdDelete, &QPushButton::clicked, this, [this] { CmdDelete_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
    connect(TxtFileName, &QLineEdit::textChanged, this, [this] { TxtFileName_Change(); });
    // A click or a move with the keys; a refresh that clears the list selects nothing.
    connect(FileList, &QListWidget::itemSelectionChanged, this, [this] { FileList_Click(); });
    connect(FileList, &QListWidget::itemDoubleClicked, this, [this] { FileList_DblClick(); });
    FileList->installEventFilter(this);
    connect(DirList, &QListWidget::itemActivated, this, [this] { DirList_Change(); });
    connect(DrvList, &QComboBox::activated, this, [this] { DrvList_Change(); });

    // The first use starts in the current folder, the program folder.
    folder_ = Normalised(platform::qt::CurrentFolder());
    FillFolderList();
}

void FrmSelectFile::Prepare(const FileDialogSetup& setup, const QString& fileName) {
    TxtFileName->setText(fileName);
    setWindowTitle(Q(setup.caption));
    pattern_ = setup.pattern;
    TagOpt = Q(setup.tagOpt);
    OptMid->setVisible(setup.typeOptionsVisible);
    OptQXs->setVisible(setup.typeOptionsVisible);
    LblFileType->setVisible(setup.typeOptionsVisible);
}

void FrmSelectFile::ShowDialog() {
    if (isVisible()) {
        Form_Activate();
        raise();
        activateWindow();
        return;
    }
    show();
}

void FrmSelectFile::Form_Activate() {
    RefreshFiles();
    if (TxtFileName->text().isEmpty()) {
        CmdOk->setEnabled(false);
        CmdDelete->setEnabled(false);
    }
    const std::string tag = TagOpt.toStdString();
    const DialogPurpose purpose = PurposeOf(tag, pattern_);
    if (purpose == DialogPurpose::kUnsupportedPattern ||
        purpose == DialogPurpose::kUnsupportedTag) {
        const std::string text = purpose == DialogPurpose::kUnsupportedTag
                                     ? UnsupportedTagText(tag, true)
                                     : UnsupportedPatternText(tag, pattern_);
        // Not while it is being shown: the hide and the box follow at once.
        QTimer::singleShot(0, this, [this, text] {
            hide();
            MsgBox(Q(text));
        });
        return;
    }
    const DialogFace face = FaceOf(purpose);
    CmdDelete->setVisible(face.deleteVisible);
    CmdOk->setText(Q(face.okCaption));
    LblFName->setText(Q(face.nameLabel));
    TxtFileName->setReadOnly(!face.nameEditable);
}

std::string FrmSelectFile::ChosenPath() const {
    return JoinPath(folder_, platform::qt::FileNameBytes(TxtFileName->text()));
}

void FrmSelectFile::CmdOk_Click() {
    const std::string name = platform::qt::FileNameBytes(TxtFileName->text());
    if (name.empty()) return;  // nothing chosen: Ok is disabled then
    const std::string path = ChosenPath();
    const std::string tag = TagOpt.toStdString();
    const DialogPurpose purpose = PurposeOf(tag, pattern_);
    App& app = App::Get();
    FileCommands& files = app.frmMain().fileCommands();
    const std::string savePath = SavePathFor(path, pattern_).value_or(path);
    std::optional<std::vector<std::uint8_t>> saved;
    if (purpose == DialogPurpose::kSave) {
        // Checked and asked while the dialog is up: a refused save or a kept file keeps the
        // dialog as it is, for another name or type.
        saved = files.AgreedSave(savePath);
        if (!saved) return;
    }
    hide();
    TagOpt.clear();
    switch (purpose) {
        case DialogPurpose::kOpenSong:
            app.frmMain().SetInputName(platform::qt::FileNameText(path));
            break;
        case DialogPurpose::kOpenChordFile:
            app.frmChord().TxtUsrList->setText(platform::qt::FileNameText(path));
            break;
        case DialogPurpose::kOpenUserStyle:
            app.frmSaveSetting().LoadStySetting(path, name);
            break;
        case DialogPurpose::kSave:
            files.OutputSavePath = savePath;
            app.frmMain().TxtOutName->setText(platform::qt::FileNameText(files.OutputSavePath));
            files.CreateOutName(*saved);
            break;
        case DialogPurpose::kUnsupportedPattern:
            MsgBox(Q(UnsupportedPatternText(tag, pattern_)));
            break;
        case DialogPurpose::kUnsupportedTag:
            MsgBox(Q(UnsupportedTagText(tag, false)));
            break;
    }
}

void FrmSelectFile::CmdDelete_Click() {
    if (pattern_ != kUserStylePattern) return;
    const std::string path = ChosenPath();
    if (platform::qt::IsReadOnly(path)) {
        LblLuuY->setText("The file is read only.");
    } else {
        LblLuuY->setText("");
        platform::qt::DeleteFile(path);  // a file already gone is no error
    }
    TxtFileName->setText("");
    RefreshFiles();
}

void FrmSelectFile::OptMid_Click() {
    TxtFileName->setText("");
    pattern_ = TypePattern(TagOpt.toStdString(), false);
    RefreshFiles();
}

void FrmSelectFile::OptQXs_Click() {
    TxtFileName->setText("");
    pattern_ = std::string(kProjectPattern);
    RefreshFiles();
}

void FrmSelectFile::FileList_Click() {
    const QList<QListWidgetItem*> chosen = FileList->selectedItems();
    if (!chosen.isEmpty()) TxtFileName->setText(chosen.front()->text());
}

void FrmSelectFile::FileList_DblClick() {
    if (!TxtFileName->text().isEmpty()) CmdOk_Click();
}

void FrmSelectFile::FileList_KeyDown(int keyCode) {
    if (keyCode == kEnterKey) FileList_DblClick();
}

bool FrmSelectFile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FileList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FileList_KeyDown(kEnterKey);
            return true;
        }
    }
    return DeactivatingDialog::eventFilter(watched, event);
}

void FrmSelectFile::DirList_Change() {
    const QListWidgetItem* item = DirList->currentItem();
    if (item == nullptr) return;
    ChangeFolder(platform::qt::FileNameBytes(item->data(kPathRole).toString()));
}

void FrmSelectFile::DrvList_Change() {
    const std::string drive = DrvList->currentText().left(2).toUpper().toStdString();
    if (ChangeFolder(drive)) return;
    std::error_code error;
    Subfolders(drive, error);
    hide();
    MsgBox(Q(error.message()), MsgIcon::kCritical, platform::qt::MsgButtons::kOkOnly, 0,
           Q("Error Changing Drive to " + drive));
    folder_.clear();
    FillFolderList();
    RefreshFiles();
    TxtFileName->setText("");
}

void FrmSelectFile::TxtFileName_Change() {
    const bool named = !TxtFileName->text().isEmpty();
    CmdOk->setEnabled(named);
    CmdDelete->setEnabled(named);
    if (named) LblLuuY->setText("");
}

bool FrmSelectFile::ChangeFolder(const std::string& folder) {
    const std::string target = Normalised(folder);
    std::error_code error;
    Subfolders(target, error);
    if (error) return false;
    folder_ = target;
    FillFolderList();
    RefreshFiles();
    TxtFileName->setText("");
    return true;
}

void FrmSelectFile::FillFolderList() {
    DirList->clear();
    if (folder_.empty()) return;
    QStyle* style = QApplication::style();
    const auto chain = Ancestors(folder_);
    int depth = 0;
    for (const auto& [name, path] : chain) {
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon),
                                         platform::qt::FileNameText(name), DirList);
        item->setData(kLevelRole, depth++);
        item->setData(kPathRole, platform::qt::FileNameText(path));
    }
    DirList->setCurrentRow(DirList->count() - 1);
    std::error_code error;
    for (const std::string& name : Subfolders(folder_, error)) {
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirIcon),
                                         platform::qt::FileNameText(name), DirList);
        item->setData(kLevelRole, depth);
        item->setData(kPathRole, platform::qt::FileNameText(JoinPath(folder_, name)));
    }
}

void FrmSelectFile::RefreshFiles() {
    FileList->clear();
    if (folder_.empty()) return;
    for (const std::string& name : platform::qt::ListFolder(folder_, pattern_)) {
        if (!Hidden(name)) FileList->addItem(platform::qt::FileNameText(name));
    }
}

}  // namespace corvane
