#include "platform/qt/help_viewer.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace platform::qt {
namespace {

QPointer<QTextBrowser>& Window() {
    static QPointer<QTextBrowser> window;
    return window;
}

std::int32_t g_cookie = 0;

}  // namespace

std::int32_t HelpInitialize() {
    return ++g_cookie;
}

void HelpDisplayTopic(const QString& helpFolder, const QString& topic) {
    if (!Window()) {
        Window() = new QTextBrowser;
        Window()->setAttribute(Qt::WA_DeleteOnClose);
        Window()->setObjectName("HelpWindow");
        Window()->setWindowTitle("Orvella Help");
        Window()->resize(640, 480);
    }
    Window()->setSource(QUrl::fromLocalFile(helpFolder + "/" + topic));
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
