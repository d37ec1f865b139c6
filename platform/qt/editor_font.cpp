#include "platform/qt/editor_font.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QFontInfo>

#include "platform/qt/byte_file.h"

namespace platform::qt {
namespace {

// The editor font is a few hundred kilobytes; nothing larger is a font the program ships.
constexpr std::size_t kMaxEditorFontBytes = 16u << 20;

}  // namespace

QFont EditorFont() {
    QFont font(kEditorFontFamily);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

bool AddEditorFont(const std::string& programFolder) {
    // Read by the folder name's bytes, which Qt's own file name conversion may not give back.
    const auto font = ReadAtMost(programFolder + "/" + kEditorFontFile, kMaxEditorFontBytes);
    return font && QFontDatabase::addApplicationFontFromData(
                       QByteArray(reinterpret_cast<const char*>(font->data()),
                                  static_cast<qsizetype>(font->size()))) >= 0;
}

bool EditorFontPresent() {
    return QFontInfo(EditorFont()).family().toUpper() == QString(kEditorFontFamily).toUpper();
}

}  // namespace platform::qt
