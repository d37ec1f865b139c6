// The help button of the main window and the help pages it shows: the first page opens in the
// help window, and every page it leads to is there and links only to pages that are there.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include "frontend/shell/ui/skin_face.h"
#include "tests/frontend/support/gui_harness.h"

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

}  // namespace
}  // namespace corvane::testing
