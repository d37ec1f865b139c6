// The help button of the main window and the help pages it shows: the first page opens in the
// help window, and every page it leads to is there and links only to pages that are there; the
// page on chords explains every letter by the notes it stands for, under the chord wizard's
// name for it.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <map>
#include <set>

#include "frontend/editors/chord_code.h"
#include "frontend/editors/ui/frm_taoac.h"
#include "frontend/shell/ui/skin_face.h"
#include "tests/frontend/support/gui_harness.h"
#include "workers/chordmaker/chord_string.h"

namespace corvane::testing {
namespace {

QTextBrowser* HelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "HelpWindow") return qobject_cast<QTextBrowser*>(widget);
    }
    return nullptr;
}

// The targets of the page's links, as the page names them.
QStringList LinksOf(const QString& html) {
    QStringList links;
    static const QRegularExpression href(R"re(<a\s[^>]*href\s*=\s*"([^"]*)")re",
                                         QRegularExpression::CaseInsensitiveOption);
    for (auto match = href.globalMatch(html); match.hasNext();) links << match.next().captured(1);
    return links;
}

class HelpTest : public CorvaneTest {
  protected:
    void SetUp() override { ASSERT_EQ(StartCorvane(), StartupOutcome::kShown); }

    void ClickHelp() {
        shell::SkinFace* help = main().PictHelp;
        const QPoint inside(help->width() / 2, help->height() / 2);
        QTest::mouseMove(help, inside);
        QTest::mouseClick(help, Qt::LeftButton, Qt::NoModifier, inside);
    }
};

TEST_F(HelpTest, TheHelpButtonOpensTheFirstPageInOneHelpWindow) {
    ClickHelp();
    QTextBrowser* window = HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Orvella Help");
    const QString expected =
        QFileInfo(QString::fromStdString((folder() / "Vessane.chm/Html/VessaneEg.htm").string()))
            .canonicalFilePath();
    EXPECT_EQ(QFileInfo(window->source().toLocalFile()).canonicalFilePath(), expected);
    EXPECT_TRUE(window->toPlainText().contains("Making an accompaniment with Orvella"));

    // Another page, then the button again: the same window comes back with the first page.
    window->setSource(QUrl::fromLocalFile(
        QString::fromStdString((folder() / "Vessane.chm/Html/KeyList.htm").string())));
    ClickHelp();
    EXPECT_EQ(HelpWindow(), window);
    EXPECT_EQ(QFileInfo(window->source().toLocalFile()).canonicalFilePath(), expected);
}

TEST_F(HelpTest, EveryPageReachedFromTheFirstOneIsThereAndHasATitle) {
    ClickHelp();
    QTextBrowser* window = HelpWindow();
    ASSERT_NE(window, nullptr);
    const QString first = window->source().toLocalFile();
    QStringList queue{first};
    QSet<QString> seen{QFileInfo(first).canonicalFilePath()};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        SCOPED_TRACE(page.toStdString());
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        window->setSource(QUrl::fromLocalFile(page));
        EXPECT_FALSE(window->documentTitle().isEmpty());
        EXPECT_FALSE(window->toPlainText().trimmed().isEmpty());
        for (const QString& link : LinksOf(html)) {
            SCOPED_TRACE(link.toStdString());
            // The pages are read from the program folder: nothing may point outside it.
            EXPECT_FALSE(link.contains(':') || link.startsWith('/'));
            const QString target = QFileInfo(page).dir().filePath(link.section('#', 0, 0));
            ASSERT_TRUE(QFileInfo(target).isFile());
            const QString canonical = QFileInfo(target).canonicalFilePath();
            if (!seen.contains(canonical)) {
                seen.insert(canonical);
                queue << target;
            }
        }
    }
    // The first page leads to the pages on the key list, the chord list, the style slots and
    // the melody importer.
    EXPECT_GE(seen.size(), 5);
}

// A note name ("C", "F#", "Bb") as a pitch class, -1 for anything else.
int PitchClassOf(const QString& name) {
    static const std::map<QChar, int> letters = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                                 {'G', 7}, {'A', 9}, {'B', 11}};
    if (name.isEmpty() || name.size() > 2 || !letters.count(name[0])) return -1;
    int pitch = letters.at(name[0]);
    if (name.size() == 2) {
        if (name[1] != '#' && name[1] != 'b') return -1;
        pitch += name[1] == '#' ? 1 : -1;
    }
    return (pitch + 12) % 12;
}

// The pitch classes a chord text stands for: the chord code's notes as Orvella reads every
// letter (the ninth with M, the major seventh with M and 7, the ninth with 9, the raised fifth
// with +, third and fifth lowered with o), and the fifth lowered by -.
std::set<int> NotesOf(const std::string& text) {
    std::string code = editors::ChordTextToCode((text + "     ").substr(0, 5));
    const bool lowFifth = code[4] == '-';
    if (lowFifth) code[4] = '.';
    chordmaker::ToneRules rules;
    rules.ninthWithMajor = true;
    rules.majorSeventhWithMajor = true;
    rules.acceptNinth = true;
    rules.raisedFifth = true;
    chordmaker::NoteSet tones;
    EXPECT_EQ(chordmaker::ReadTones(code, rules, tones), 0) << text;
    if (lowFifth) tones.notes[chordmaker::kFifth] = (tones[chordmaker::kFifth] + 11) % 12;
    std::set<int> notes;
    for (int note : tones.notes) {
        if (note != chordmaker::kNoNote) notes.insert(note);
    }
    return notes;
}

TEST_F(HelpTest, TheChordPageExplainsEveryLetterByWhatPlaysUnderTheWizardsName) {
    QFile file(QString::fromStdString((folder() / "Vessane.chm/Html/ChordList.htm").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const qsizetype start = html.indexOf(R"(<table id="chord-letters")");
    ASSERT_GE(start, 0) << "no table of the chord letters";
    const QString table = html.mid(start, html.indexOf("</table>", start) - start);

    const editors::FrmTaoAc& wizard = app().frmTaoAc();
    const std::map<QString, const QRadioButton*> wizardNames = {
        {"#", wizard.OptSharp}, {"b", wizard.OptFlat},    {"m", wizard.OptMinor},
        {"M", wizard.OptMajor}, {"s", wizard.OptSus4},    {"o", wizard.OptDim},
        {"6", wizard.OptSixth}, {"7", wizard.OptSeventh}, {"9", wizard.OptNineth},
        {"+", wizard.OptAug5},  {"-", wizard.OptDim5},
    };
    static const QRegularExpression row(
        R"(<tr><td><tt>([^<]*)</tt></td><td>([^<]*)</td><td>(.*?)</td><td>(.*?)</td></tr>)",
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression example(R"(<tt>([^<]+)</tt>:\s*([^;<]+))");
    std::set<QString> explained;
    for (auto rows = row.globalMatch(table); rows.hasNext();) {
        const QRegularExpressionMatch match = rows.next();
        const QString letter = match.captured(1);
        SCOPED_TRACE(letter.toStdString());
        ASSERT_TRUE(wizardNames.count(letter)) << "not a chord letter";
        explained.insert(letter);
        EXPECT_EQ(match.captured(2).trimmed(), wizardNames.at(letter)->text().trimmed());
        EXPECT_FALSE(match.captured(3).trimmed().isEmpty());
        int examples = 0;
        for (auto shown = example.globalMatch(match.captured(4)); shown.hasNext();) {
            const QRegularExpressionMatch chord = shown.next();
            const std::string text = chord.captured(1).toStdString();
            SCOPED_TRACE(text);
            EXPECT_TRUE(chord.captured(1).contains(letter));
            EXPECT_TRUE(editors::CheckChordString(text));
            std::set<int> listed;
            for (const QString& name : chord.captured(2).split(' ', Qt::SkipEmptyParts)) {
                EXPECT_GE(PitchClassOf(name), 0) << name.toStdString();
                listed.insert(PitchClassOf(name));
            }
            EXPECT_EQ(listed, NotesOf(text));
            ++examples;
        }
        EXPECT_GE(examples, 1);
    }
    EXPECT_EQ(explained.size(), wizardNames.size());
}

}  // namespace
}  // namespace corvane::testing
