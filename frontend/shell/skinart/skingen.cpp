// skingen --out DIR [--dpr N] [--sheet]: writes every image of the skin as a PNG into DIR,
// drawn at the device pixel ratio N (1 by default), and with --sheet also skin-sheet.png, all
// of them on one labelled page, for looking at the art as a whole.
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontend/shell/skinart/skin_art.h"

namespace {

using corvane::shell::skin::SkinArt;
using corvane::shell::skin::SkinImageId;

int Usage() {
    std::fprintf(stderr, "usage: skingen --out DIR [--dpr N] [--sheet]\n");
    return 2;
}

QImage Sheet(const std::vector<std::pair<QString, QImage>>& images, qreal dpr) {
    constexpr int kWidth = 1320;
    constexpr int kGap = 14;
    constexpr int kLabelHeight = 14;
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    const QFontMetricsF metrics(font);
    struct Cell {
        QPointF at;
        const QString* name;
        const QImage* image;
    };
    std::vector<Cell> cells;
    qreal x = kGap, y = kGap, rowHeight = 0;
    for (const auto& [name, image] : images) {
        const QSizeF size = image.deviceIndependentSize();
        const qreal cellWidth = std::max(size.width(), metrics.horizontalAdvance(name));
        if (x + cellWidth > kWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kLabelHeight + kGap;
            rowHeight = 0;
        }
        cells.push_back({{x, y}, &name, &image});
        x += cellWidth + kGap;
        rowHeight = std::max(rowHeight, size.height());
    }
    const int height = static_cast<int>(y + rowHeight + kLabelHeight + kGap);
    QImage sheet(static_cast<int>(kWidth * dpr), static_cast<int>(height * dpr),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(dpr);
    sheet.fill(QColor(0x55, 0x5B, 0x63));
    QPainter p(&sheet);
    p.setFont(font);
    for (const Cell& cell : cells) {
        p.drawImage(cell.at, *cell.image);
        p.setPen(Qt::white);
        const QSizeF size = cell.image->deviceIndependentSize();
        p.drawText(QPointF(cell.at.x(), cell.at.y() + size.height() + 11), *cell.name);
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    // The art needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QString out;
    qreal dpr = 1;
    bool sheet = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--dpr") == 0 && i + 1 < argc) {
            dpr = std::atof(argv[++i]);
            if (dpr <= 0 || dpr > 8) return Usage();
        } else if (std::strcmp(argv[i], "--sheet") == 0) {
            sheet = true;
        } else {
            return Usage();
        }
    }
    if (out.isEmpty()) return Usage();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(out));
        return 1;
    }
    std::vector<std::pair<QString, QImage>> images;
    for (const SkinImageId& id : SkinArt::AllImages()) {
        QImage image = SkinArt::render(id, dpr);
        const QString name = SkinArt::Name(id);
        if (!image.save(QDir(out).filePath(name + ".png"))) {
            std::fprintf(stderr, "skingen: cannot write %s.png\n", qPrintable(name));
            return 1;
        }
        images.emplace_back(name, std::move(image));
    }
    if (sheet && !Sheet(images, dpr).save(QDir(out).filePath("skin-sheet.png"))) {
        std::fprintf(stderr, "skingen: cannot write skin-sheet.png\n");
        return 1;
    }
    std::printf("%zu images written to %s\n", images.size(), qPrintable(out));
    return 0;
}
