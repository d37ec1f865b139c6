// The front end keeps its texts in std::string outside the widget code; these put them on the
// widgets. What the program folder's files hold (chord names, worker messages, style titles) is
// one byte a character and is shown byte for byte, whatever it is.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace corvane {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

inline QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The inverse of Latin1: a widget's text back as the bytes it was made from, so that a style
// title shown with its letter ("Café") is found again among the bytes of the files. A character
// beyond one byte, which only typing can bring, becomes "?".
inline std::string Latin1Bytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace corvane
