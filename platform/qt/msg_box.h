// Message boxes of the front end: one call with the text, the icon, the buttons, the default
// button and the title (the application's when empty). Tests install a MsgBoxRecorder, which
// logs every box and answers it from a script instead of showing it; a subprocess turns the
// same recording on with ORVELLA_MSGBOX_LOG=<file> (one "icon|title|text" line per box, line
// feeds written as \n) and every box then takes its default button. No box is ever shown that
// a test cannot answer.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace platform::qt {

enum class MsgIcon { kNone, kCritical, kInformation, kQuestion };
enum class MsgButtons { kOkOnly, kOkCancel, kAbortRetryIgnore, kYesNoCancel, kYesNo, kRetryCancel };
// The values the system's code compares answers with.
enum class MsgResult {
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7
};

// The title a box gets when the caller passes none.
constexpr const char* kApplicationTitle = "Orvella";

// `defaultButton` counts the buttons from 0 in their order ("Yes, No, Cancel").
MsgResult MsgBox(const QString& text, MsgIcon icon = MsgIcon::kNone,
                 MsgButtons buttons = MsgButtons::kOkOnly, int defaultButton = 0,
                 const QString& title = {});

// While one exists, every box is logged and answered here instead of being shown.
class MsgBoxRecorder {
  public:
    struct Entry {
        MsgIcon icon;
        QString title;
        QString text;
        QString line() const;  // "critical|Orvella|text", line feeds as \n
    };

    MsgBoxRecorder();
    ~MsgBoxRecorder();
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    // The next boxes take these answers in order; after that each takes its default.
    void Answer(MsgResult result) { answers_.push_back(result); }
    const std::vector<Entry>& entries() const { return entries_; }
    QStringList lines() const;
    void clear() { entries_.clear(); }

  private:
    friend MsgResult MsgBox(const QString&, MsgIcon, MsgButtons, int, const QString&);
    std::vector<Entry> entries_;
    std::deque<MsgResult> answers_;
};

}  // namespace platform::qt
