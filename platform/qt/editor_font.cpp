#include "platform/qt/editor_font.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace platform::qt {

QFont EditorFont() {
    QFont font(kEditorFontFamily);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

bool AddEditorFont(const QString& programFolder) {
    return QFontDatabase::addApplicationFont(programFolder + "/" + kEditorFontFile) >= 0;
}

bool EditorFontPresent() {
    return QFontInfo(EditorFont()).family().toUpper() == QString(kEditorFontFamily).toUpper();
}

}  // namespace platform::qt
