// The theme's scalable icon is drawn by hand; it must stay the same picture
// as the one the program paints for its window.
#include "resources/Icons.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(IconSvg, MatchesTheProgramsIconAtEachThemeSize) {
    for (const int size : {16, 32}) {
        SCOPED_TRACE(size);
        QImage svg(size, size, QImage::Format_ARGB32_Premultiplied);
        svg.fill(Qt::transparent);
        QSvgRenderer renderer(QStringLiteral(ICON_SVG));
        ASSERT_TRUE(renderer.isValid());
        QPainter painter(&svg);
        renderer.render(&painter);
        painter.end();
        const QImage drawn =
            AppIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(drawn.size(), svg.size());
        // The two renderers round edges a little differently and the 16-pixel
        // ticks are a fraction thinner in the vector file; a moved shape or a
        // changed colour is far outside these bounds.
        int worst = 0;
        double total = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb a = svg.pixel(x, y), b = drawn.pixel(x, y);
                const int d =
                    std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
                worst = std::max(worst, d);
                total += d;
            }
        EXPECT_LE(worst, 48);
        EXPECT_LE(total / (size * size), 2.0) << "mean channel difference";
    }
}
