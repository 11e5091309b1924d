#include "imaging/Resample.h"

#include "TestPictures.h"
#include "imaging/IEFunctions.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

TEST(FitRect, PlacesAndCentresByTheLimitingSide) {
    struct Case {
        int pw, ph;
        bool cv, ch, shrink, enlarge;
        int top, left, ah, aw;
        QRect expected;
    };
    const Case cases[] = {
        // Wide picture, shrunk to the width, centred vertically.
        {400, 200, true, true, true, true, 10, 20, 100, 100, QRect(20, 35, 100, 50)},
        // Tall picture, shrunk to the height, centred horizontally.
        {200, 400, true, true, true, false, 0, 0, 100, 100, QRect(25, 0, 50, 100)},
        // Small picture: enlarged only when asked.
        {50, 25, false, false, true, true, 0, 0, 100, 100, QRect(0, 0, 100, 50)},
        {50, 25, true, true, true, false, 0, 0, 100, 100, QRect(25, 37, 50, 25)},
        // Large picture without shrink stays as it is (no centring: it does not fit).
        {400, 200, true, true, false, true, 0, 0, 100, 100, QRect(0, 0, 400, 200)},
        // Rounded half to even: 3 * 90 / 4 = 67.5 -> 68, 5 * 75 / 4... the height limits.
        {4, 3, false, false, true, true, 0, 0, 75, 90, QRect(0, 0, 90, 68)},
        {6000, 4000, true, true, true, false, 0, 0, 75, 90, QRect(0, 7, 90, 60)},
        {1, 3, false, false, true, true, 0, 0, 5, 100, QRect(0, 0, 2, 5)}, // 5/3 = 1.67 -> 2
        // Only a difference of two or more pixels is centred.
        {99, 50, true, true, false, false, 0, 0, 51, 100, QRect(0, 0, 99, 50)},
        {0, 50, true, true, true, true, 3, 4, 100, 100, QRect(4, 3, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pw << "x" << c.ph << " in " << c.aw << "x" << c.ah);
        EXPECT_EQ(FitRect(c.pw, c.ph, c.cv, c.ch, c.shrink, c.enlarge, c.top, c.left, c.ah, c.aw),
                  c.expected);
    }
}

TEST(ResampleBitmap, SizesAndNoOps) {
    JpegRecipe recipe;
    recipe.width = 200;
    recipe.height = 100;
    const QImage source = patternImage(recipe);
    TIEFunctions ie;
    struct Case {
        int width, height, filter;
        QSize expected;
    };
    const Case cases[] = {
        {100, 50, 0, {100, 50}}, {100, 50, 1, {100, 50}}, {100, 50, 2, {100, 50}},
        {350, 20, 2, {350, 20}}, {90, -1, 2, {90, 45}},   {3, 3, 2, {3, 3}},
        {0, 50, 2, {200, 100}},  {50, 0, 1, {200, 100}},  {200, 100, 2, {200, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " f" << c.filter);
        QImage bitmap = source;
        EXPECT_TRUE(ie.ResampleBitmap(bitmap, c.width, false, false, c.filter, c.height));
        EXPECT_EQ(bitmap.size(), c.expected);
    }
    QImage reduced = source;
    ASSERT_TRUE(ie.ResampleBitmap(reduced, 100, false, true, 2, 50));
    EXPECT_EQ(reduced.format(), QImage::Format_Indexed8);
}

// Filters must keep flat areas flat and carry the picture, not shift or darken it.
TEST(Resample, FiltersPreserveContent) {
    QImage flat(301, 199, QImage::Format_RGB32);
    flat.fill(qRgb(200, 100, 50));
    QImage half(400, 100, QImage::Format_RGB32);
    half.fill(Qt::white);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            half.setPixel(x, y, qRgb(0, 0, 0));
    for (auto filter : {ResampleFilter::None, ResampleFilter::Linear, ResampleFilter::Lanczos3}) {
        SCOPED_TRACE(int(filter));
        for (QSize size : {QSize(90, 60), QSize(700, 400)}) {
            const QImage out = Resample(flat, size.width(), size.height(), filter);
            ASSERT_EQ(out.size(), size);
            for (QPoint p : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1),
                             QPoint(size.width() / 2, size.height() / 3)})
                EXPECT_EQ(out.pixel(p), qRgb(200, 100, 50));
        }
        const QImage out = Resample(half, 100, 25, filter);
        EXPECT_EQ(qRed(out.pixel(10, 12)), 0);
        EXPECT_EQ(qRed(out.pixel(90, 12)), 255);
        EXPECT_LT(qRed(out.pixel(48, 12)), 128);
        EXPECT_GT(qRed(out.pixel(51, 12)), 128);
    }
    QImage grey(64, 64, QImage::Format_Grayscale8);
    grey.fill(77);
    const QImage g = Resample(grey, 20, 20, ResampleFilter::Lanczos3);
    EXPECT_EQ(g.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(qGray(g.pixel(7, 7)), 77);
}
