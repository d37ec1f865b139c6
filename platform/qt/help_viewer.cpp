#include "platform/qt/help_viewer.h"

#include <QByteArray>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"

namespace platform::qt {
namespace {

// A help page is a few kilobytes; nothing larger is one of ours.
constexpr std::size_t kMaxHelpPageBytes = 4u << 20;

// Qt opens a local page by its text, whose bytes stand for another folder when the folder's
// name is not UTF-8. The window's addresses are the names as FileNameText gives them, which
// links resolve against as text, and each page is read back by the bytes they stand for.
class HelpBrowser : public QTextBrowser {
  public:
    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile()) return QTextBrowser::loadResource(type, name);
        const auto page = ReadAtMost(FileNameBytes(url.toLocalFile()), kMaxHelpPageBytes);
        if (!page) return {};
        return QByteArray(reinterpret_cast<const char*>(page->data()),
                          static_cast<qsizetype>(page->size()));
    }
};

QPointer<QTextBrowser>& Window() {
    static QPointer<QTextBrowser> window;
    return window;
}

std::int32_t g_cookie = 0;

}  // namespace

std::int32_t HelpInitialize() {
    return ++g_cookie;
}

void HelpDisplayTopic(const std::string& helpFolder, const std::string& topic) {
    if (!Window()) {
        Window() = new HelpBrowser;
        Window()->setAttribute(Qt::WA_DeleteOnClose);
        Window()->setObjectName("HelpWindow");
        Window()->setWindowTitle("Orvella Help");
        Window()->resize(640, 480);
    }
    Window()->setSource(QUrl::fromLocalFile(FileNameText(helpFolder + "/" + topic)));
    Window()->show();
    Window()->raise();
}

void HelpCloseAll() {
    if (Window()) Window()->close();
}

void HelpUninitialize(std::int32_t) {
    HelpCloseAll();
}

}  // namespace platform::qt
