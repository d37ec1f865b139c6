// The skin's images: their sizes at two pixel ratios, button states that differ only where the
// mouse can hit, margins that are the background itself, and the same pixels on every run.
#include "frontend/shell/skinart/skin_art.h"

#include <gtest/gtest.h>

#include "frontend/shell/skinart/skin_layout.h"

namespace corvane::shell::skin {
namespace {

constexpr qreal kRatios[] = {1.0, 2.0};

QImage Plain(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage BackgroundAt(const QRect& place, qreal dpr) {
    const QImage background = SkinArt::render({SkinImageKind::kBackground}, dpr);
    return Plain(background.copy(QRect(place.topLeft() * dpr, place.size() * dpr)));
}

struct FaceImages {
    const SkinFaceSpec& face;
    SkinImageKind kind;
    int index;
};

std::vector<FaceImages> ButtonImageSets() {
    std::vector<FaceImages> sets;
    for (const SkinFaceSpec& face : SkinFaces()) {
        if (face.sharedSmallRound) continue;
        sets.push_back({face, SkinImageKind::kFace, static_cast<int>(face.id)});
    }
    sets.push_back({SpecOf(FaceId::PictMiVi), SkinImageKind::kSmallRound, 0});
    return sets;
}

TEST(SkinArt, EveryImageHasItsSizeAtEachPixelRatio) {
    for (const SkinImageId& id : SkinArt::AllImages()) {
        const QSize logical = SkinArt::LogicalSize(id);
        for (qreal dpr : kRatios) {
            SCOPED_TRACE(SkinArt::Name(id).toStdString() + " at " + std::to_string(dpr));
            const QImage image = SkinArt::render(id, dpr);
            EXPECT_EQ(image.size(), logical * dpr);
            EXPECT_EQ(image.devicePixelRatio(), dpr);
        }
    }
    // The faces' own images are their bitmaps of the window design.
    EXPECT_EQ(SkinArt::LogicalSize({SkinImageKind::kFace, static_cast<int>(FaceId::PictPlay)}),
              QSize(55, 55));
    EXPECT_EQ(SkinArt::LogicalSize({SkinImageKind::kBackground}), QSize(625, 407));
}

TEST(SkinArt, StatesDifferOnlyInsideTheHitAreaAndTheMarginsAreTheBackground) {
    for (const FaceImages& set : ButtonImageSets()) {
        for (qreal dpr : kRatios) {
            SCOPED_TRACE(std::string(set.face.name) + " at " + std::to_string(dpr));
            const QImage normal = Plain(SkinArt::render({set.kind, set.index}, dpr));
            const QImage hover =
                Plain(SkinArt::render({set.kind, set.index, SkinState::kHover}, dpr));
            const QImage pressed =
                Plain(SkinArt::render({set.kind, set.index, SkinState::kPressed}, dpr));
            const QImage crop = BackgroundAt(SkinLayout::FacePlace(set.face.id), dpr);
            int insideDiffers[3] = {0, 0, 0};
            int outsideDiffers = 0;
            int marginDiffers = 0;
            int insidePixels = 0;
            for (int y = 0; y < normal.height(); ++y) {
                for (int x = 0; x < normal.width(); ++x) {
                    const QRgb n = normal.pixel(x, y), h = hover.pixel(x, y),
                               p = pressed.pixel(x, y);
                    if (SkinArt::InHitArea(set.face, x, y, dpr)) {
                        ++insidePixels;
                        insideDiffers[0] += n != h;
                        insideDiffers[1] += n != p;
                        insideDiffers[2] += h != p;
                    } else {
                        outsideDiffers += n != h || n != p;
                        marginDiffers += n != crop.pixel(x, y);
                    }
                }
            }
            EXPECT_GT(insidePixels, 0);
            for (int pair = 0; pair < 3; ++pair) EXPECT_GT(insideDiffers[pair], 0) << pair;
            EXPECT_EQ(outsideDiffers, 0);
            EXPECT_EQ(marginDiffers, 0);
        }
    }
}

TEST(SkinArt, TheSmallRoundSetFitsEachOfItsThreePlacesAndTheTitleItsBox) {
    const QImage normal = Plain(SkinArt::render({SkinImageKind::kSmallRound}, 1));
    for (FaceId id : {FaceId::PictMiVi, FaceId::PictOpt1, FaceId::PictOpt2}) {
        SCOPED_TRACE(SpecOf(id).name);
        const QImage crop = BackgroundAt(SkinLayout::FacePlace(id), 1);
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                if (SkinArt::InHitArea(SpecOf(id), x, y, 1)) continue;
                ASSERT_EQ(normal.pixel(x, y), crop.pixel(x, y)) << x << "," << y;
            }
        }
    }
    // The title's corners are the background under its box.
    const QImage title = Plain(SkinArt::render({SkinImageKind::kTitle}, 2));
    const QImage under = BackgroundAt(SkinLayout::TitlePlace(), 2);
    EXPECT_EQ(title.pixel(0, 0), under.pixel(0, 0));
    EXPECT_EQ(title.pixel(title.width() - 1, title.height() - 1),
              under.pixel(under.width() - 1, under.height() - 1));
}

TEST(SkinArt, RenderingTwiceGivesTheSamePixels) {
    for (const SkinImageId& id : SkinArt::AllImages()) {
        SCOPED_TRACE(SkinArt::Name(id).toStdString());
        const QImage first = SkinArt::render(id, 2);
        SkinArt::ForgetDrawings();
        EXPECT_EQ(first, SkinArt::render(id, 2));
    }
}

TEST(SkinArt, TheOutlineLeavesTheCornersAndTheNotchToTheDesktop) {
    const QPainterPath outline = SkinLayout::OutlinePath();
    for (QPointF outside :
         {QPointF(0.5, 0.5), QPointF(624.5, 0.5), QPointF(624.5, 406.5), QPointF(10, 315)}) {
        EXPECT_FALSE(outline.contains(outside)) << outside.x() << "," << outside.y();
    }
    for (QPointF inside : {QPointF(16, 16), QPointF(30, 315), QPointF(312, 203)}) {
        EXPECT_TRUE(outline.contains(inside)) << inside.x() << "," << inside.y();
    }
}

}  // namespace
}  // namespace corvane::shell::skin
