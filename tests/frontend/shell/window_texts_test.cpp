// Every text of the main window readable whole on a screen at the normal scale: each caption
// fits its label in the font the window gives it, with every text the label can come to show;
// the mixer's headings and option names stay clear of the slot badge and of the volume thumbs;
// the style switch-point list shows whole lines for every style of the library.
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

#include "frontend/core/name_tables.h"
#include "frontend/core/section_table.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::testing {
namespace {

// The space that keeps a text apart from the control beside it.
constexpr qreal kClearance = 3;

class WindowTextsTest : public CorvaneTest {
  protected:
    void SetUp() override { ASSERT_EQ(StartCorvane(), StartupOutcome::kShown); }

    // The width the label's text takes, from its own font.
    static qreal TextWidth(const QLabel& label, const QString& text) {
        return QFontMetricsF(label.font()).horizontalAdvance(text);
    }
    // The text's right edge on the window, for a label whose text starts at its left.
    static qreal TextRight(const QLabel& label, const QString& text) {
        return label.x() + label.contentsRect().left() + TextWidth(label, text);
    }
    static void ExpectFits(const QLabel& label, const QString& text) {
        EXPECT_LE(TextWidth(label, text), label.contentsRect().width())
            << label.objectName().toStdString() << " \"" << text.toStdString() << "\"";
    }
};

TEST_F(WindowTextsTest, EveryCaptionShownAtTheStartFitsItsLabel) {
    int checked = 0;
    for (QLabel* label : main().findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&main()) || label->text().isEmpty() || label->wordWrap()) continue;
        ExpectFits(*label, label->text());
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

TEST_F(WindowTextsTest, TheMixerHeadingsFitAndStayClearOfTheSlotBadge) {
    platform::qt::CaptionLabel& mode = *main().LblGMCode[0];
    platform::qt::CaptionLabel& volume = *main().LblGMCode[1];
    platform::qt::CaptionLabel& code = *main().LblGMCode[2];
    // The volume heading shows the dragged thumb's value meanwhile.
    for (const QString& text : {QString("Volume"), QString("Default"), QString("127")})
        ExpectFits(volume, text);
    ExpectFits(mode, "Mode");
    ExpectFits(code, "Code");
    EXPECT_LE(TextRight(code, "Code") + kClearance, mode.x());
    EXPECT_LE(TextRight(volume, "Default") + kClearance, code.x());
    // The badge sits beside the headings' row: no heading runs under it.
    EXPECT_LE(TextRight(mode, "Mode") + kClearance, main().PicStyNo->x());
    EXPECT_FALSE(mode.geometry().intersects(main().PicStyNo->geometry()));
}

TEST_F(WindowTextsTest, TheOptionNamesStayClearOfTheVolumeThumbsAtZero) {
    for (int part = 0; part < 5; ++part) main().CanGatVol[part]->SetValue(0);
    std::vector<QString> names;
    for (const std::string& name : ChordModeNames()) names.push_back(QString::fromStdString(name));
    for (const std::string& name : MakeModeNames()) names.push_back(QString::fromStdString(name));
    for (platform::qt::CaptionLabel* label : {main().LblMode, main().LblMix}) {
        SCOPED_TRACE(label->objectName().toStdString());
        // The thumb of the part row the name stands in.
        const shell::SkinThumb* thumb = nullptr;
        for (const shell::SkinThumb* t : main().PictVols) {
            if (t->y() < label->y() + label->height() && label->y() < t->y() + t->height())
                thumb = t;
        }
        ASSERT_NE(thumb, nullptr);
        for (const QString& name : names) {
            ExpectFits(*label, name);
            EXPECT_LE(TextRight(*label, name) + kClearance, thumb->x()) << name.toStdString();
        }
    }
}

TEST_F(WindowTextsTest, TheSwitchPointListShowsWholeLinesForEveryLibraryStyle) {
    QListWidget& list = *main().LstSections;
    EXPECT_EQ(list.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // Enough lines for the list to show its scroll bar, each naming a style of the library.
    std::array<std::string, 6> names;
    for (const std::string& name : app().g.Styles.StyleNames) {
        names.fill(name);
        for (int bar = 1; bar <= 5; ++bar) {
            list.addItem(QString::fromStdString(SectionListEntry(
                "0" + std::to_string(10 + bar) + ":" + std::to_string(bar), names)));
        }
    }
    ASSERT_TRUE(WaitUntil([&] { return list.verticalScrollBar()->isVisible(); }));
    const QFontMetricsF metrics(list.font());
    for (int row = 0; row < list.count(); ++row) {
        const QString line = list.item(row)->text();
        EXPECT_LE(metrics.horizontalAdvance(line), list.viewport()->width() - 4)
            << line.toStdString();
        // One line of text per row: nothing wrapped, nothing cut.
        EXPECT_LT(list.visualItemRect(list.item(row)).height(), 2 * metrics.height())
            << line.toStdString();
    }
}

}  // namespace
}  // namespace corvane::testing
