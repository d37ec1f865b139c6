#include "platform/qt/file_names.h"

#include <gtest/gtest.h>

#include <QFile>

namespace platform::qt {
namespace {

QString Units(std::initializer_list<char16_t> units) {
    QString text;
    for (char16_t unit : units) text += QChar(unit);
    return text;
}

TEST(FileNamesTest, EveryNameComesBackByteForByteFromItsText) {
    const struct {
        const char* name;
        std::string bytes;
        QString text;
    } cases[] = {
        {"plain", "song.mid", "song.mid"},
        {"UTF-8", "caf\xC3\xA9.mid", QString::fromUtf8("caf\xC3\xA9.mid")},
        {"a byte that is no UTF-8", "caf\xE9.mid", "caf" + Units({0xDCE9}) + ".mid"},
        {"a leading byte-order mark",
         "\xEF\xBB\xBF"
         "a",
         Units({0xFEFF, 'a'})},
        {"four bytes", "\xF0\x9F\x8E\xB5", Units({0xD83C, 0xDFB5})},
        {"an overlong slash", "\xC0\xAF", Units({0xDCC0, 0xDCAF})},
        {"an encoded surrogate", "\xED\xA0\x80", Units({0xDCED, 0xDCA0, 0xDC80})},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", Units({0xDCF4, 0xDC90, 0xDC80, 0xDC80})},
        {"cut short", "x\xE2\x82", Units({'x', 0xDCE2, 0xDC82})},
        {"a lone continuation",
         "\x80"
         "a\xFF",
         Units({0xDC80, 'a', 0xDCFF})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileNameText(c.bytes), c.text);
        EXPECT_EQ(FileNameBytes(FileNameText(c.bytes)), c.bytes);
    }
    // What Qt's own conversion makes of such names cannot be found again.
    EXPECT_NE(QFile::encodeName(QFile::decodeName("caf\xE9.mid")), "caf\xE9.mid");
}

TEST(FileNamesTest, TypedTextIsWrittenAsUtf8) {
    const QString typed = QString::fromUtf8("Ode \xC3\xA0 la joie \xF0\x9F\x8E\xB5.mid");
    EXPECT_EQ(FileNameBytes(typed), typed.toUtf8().toStdString());
    // Half a character, which no name gives, becomes what Qt would write for it.
    EXPECT_EQ(FileNameBytes(Units({'a', 0xD800, 'b'})),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(FileNameBytes(Units({0xDC41})), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace platform::qt
