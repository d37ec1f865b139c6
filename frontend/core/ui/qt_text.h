// The front end keeps its texts in std::string outside the widget code; these put them on the
// widgets. What the program folder's files hold (chord names, worker messages) is one byte a
// character and is shown byte for byte, whatever it is.
#pragma once

#include <QString>
#include <string>

namespace corvane {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

inline QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace corvane
