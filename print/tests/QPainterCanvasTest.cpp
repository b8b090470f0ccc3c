#include "QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{
// One device pixel per tenth of a millimetre.
constexpr double kDpi = 254.0;

class QPainterCanvasTest : public ::testing::Test
{
protected:
    QPainterCanvasTest() : image(400, 400, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
    }

    QImage image;
    QPainter painter;
};
} // namespace

TEST_F(QPainterCanvasTest, FontHeightIsTheCellHeight)
{
    QPainterCanvas canvas(painter, kDpi);
    const auto height = [&](int fontHeight) {
        return canvas
            .Measure({QStringLiteral("ＭＳ ゴシック"), fontHeight, 400}, QStringLiteral("東京"))
            .height;
    };
    // A positive height is the cell: ascent plus descent, whatever the font.
    EXPECT_NEAR(height(40), 40, 2);
    EXPECT_NEAR(height(100), 100, 2);
    // A negative one is the character height, so the cell is taller.
    EXPECT_GT(height(-40), 44);
    // 0 is the default size, not an invisible font.
    EXPECT_NEAR(height(0), 42, 2);
}

TEST_F(QPainterCanvasTest, InsideFramePenDrawsASolidLine)
{
    QPainterCanvas canvas(painter, kDpi);
    canvas.Line({6, 10}, {10, 100}, {300, 100});
    canvas.Line({5, 10}, {10, 200}, {300, 200}); // no pen
    painter.end();
    EXPECT_EQ(image.pixelColor(150, 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(150, 103), QColor(Qt::black)); // 1 mm wide
    EXPECT_EQ(image.pixelColor(150, 200), QColor(Qt::white));
}
