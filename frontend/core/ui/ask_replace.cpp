#include "frontend/core/ui/ask_replace.h"

#include "frontend/core/replace_question.h"
#include "frontend/core/ui/qt_text.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/msg_box.h"

namespace corvane {

bool MayReplace(const std::string& path, const std::string& readOnlyText, int defaultButton) {
    using platform::qt::MsgBox;
    using platform::qt::MsgIcon;
    if (!platform::qt::FileLength(path)) return true;
    if (platform::qt::IsReadOnly(path)) {
        MsgBox(Q(readOnlyText), MsgIcon::kCritical);
        return false;
    }
    return MsgBox(Q(ReplaceQuestionText(path)), MsgIcon::kQuestion,
                  platform::qt::MsgButtons::kOkCancel,
                  defaultButton) == platform::qt::MsgResult::kOk;
}

}  // namespace corvane
