#include "platform/qt/msg_box.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace platform::qt {
namespace {

MsgBoxRecorder* g_recorder = nullptr;

QString IconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::kCritical:
            return "critical";
        case MsgIcon::kInformation:
            return "information";
        case MsgIcon::kQuestion:
            return "question";
        case MsgIcon::kNone:
            break;
    }
    return "none";
}

std::vector<MsgResult> ButtonsOf(MsgButtons buttons) {
    using R = MsgResult;
    switch (buttons) {
        case MsgButtons::kOkOnly:
            return {R::kOk};
        case MsgButtons::kOkCancel:
            return {R::kOk, R::kCancel};
        case MsgButtons::kAbortRetryIgnore:
            return {R::kAbort, R::kRetry, R::kIgnore};
        case MsgButtons::kYesNoCancel:
            return {R::kYes, R::kNo, R::kCancel};
        case MsgButtons::kYesNo:
            return {R::kYes, R::kNo};
        case MsgButtons::kRetryCancel:
            return {R::kRetry, R::kCancel};
    }
    return {R::kOk};
}

QMessageBox::StandardButton StandardButtonOf(MsgResult result) {
    switch (result) {
        case MsgResult::kOk:
            return QMessageBox::Ok;
        case MsgResult::kCancel:
            return QMessageBox::Cancel;
        case MsgResult::kAbort:
            return QMessageBox::Abort;
        case MsgResult::kRetry:
            return QMessageBox::Retry;
        case MsgResult::kIgnore:
            return QMessageBox::Ignore;
        case MsgResult::kYes:
            return QMessageBox::Yes;
        case MsgResult::kNo:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QString LogLine(MsgIcon icon, const QString& title, const QString& text) {
    QString escaped = text;
    escaped.replace("\n", "\\n");
    return IconName(icon) + "|" + title + "|" + escaped;
}

}  // namespace

QString MsgBoxRecorder::Entry::line() const {
    return LogLine(icon, title, text);
}

MsgBoxRecorder::MsgBoxRecorder() {
    g_recorder = this;
}
MsgBoxRecorder::~MsgBoxRecorder() {
    if (g_recorder == this) g_recorder = nullptr;
}

QStringList MsgBoxRecorder::lines() const {
    QStringList result;
    for (const Entry& entry : entries_) result << entry.line();
    return result;
}

MsgResult MsgBox(const QString& text, MsgIcon icon, MsgButtons buttons, int defaultButton,
                 const QString& title) {
    const QString shownTitle = title.isEmpty() ? QString(kApplicationTitle) : title;
    const std::vector<MsgResult> choices = ButtonsOf(buttons);
    const MsgResult byDefault =
        choices[defaultButton >= 0 && defaultButton < static_cast<int>(choices.size())
                    ? defaultButton
                    : 0];

    if (g_recorder != nullptr) {
        g_recorder->entries_.push_back({icon, shownTitle, text});
        if (g_recorder->answers_.empty()) return byDefault;
        const MsgResult answer = g_recorder->answers_.front();
        g_recorder->answers_.pop_front();
        return answer;
    }
    const QString logPath = qEnvironmentVariable("ORVELLA_MSGBOX_LOG");
    if (!logPath.isEmpty()) {
        QFile log(logPath);
        if (log.open(QIODevice::Append | QIODevice::WriteOnly)) {
            log.write((LogLine(icon, shownTitle, text) + "\n").toUtf8());
        }
        return byDefault;
    }

    QMessageBox box;
    box.setWindowTitle(shownTitle);
    box.setText(text);
    switch (icon) {
        case MsgIcon::kCritical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::kQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::kNone:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    for (MsgResult choice : choices) {
        QPushButton* button = box.addButton(StandardButtonOf(choice));
        if (choice == byDefault) box.setDefaultButton(button);
    }
    box.exec();
    for (MsgResult choice : choices) {
        if (box.clickedButton() == box.button(StandardButtonOf(choice))) return choice;
    }
    // Closed by Escape or the close box: the cancelling choice when there is one.
    for (MsgResult choice : choices) {
        if (choice == MsgResult::kCancel) return choice;
    }
    return choices.size() == 1 ? choices.front() : byDefault;
}

}  // namespace platform::qt
