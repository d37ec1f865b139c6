// File names are bytes; the widgets that show them and let the user type them hold text. Every
// path that goes into a widget, or comes out of one, goes through these two, so that any file
// the program lists can be opened again from its text.
//
// A name in the file system's encoding (UTF-8) becomes its text. A byte that is not part of a
// UTF-8 character (a name written on a system in another encoding, "caf\xE9.mid") becomes a
// character of its own, U+DC80..U+DCFF, which no text of a UTF-8 name can hold, and turns back
// into that byte. Qt's QFile::decodeName puts U+FFFD for every such byte and drops a leading
// byte-order mark, so the names it makes cannot be found again.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platform::qt {

QString FileNameText(std::string_view name);
std::string FileNameBytes(const QString& text);

}  // namespace platform::qt
