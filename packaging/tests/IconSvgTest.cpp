// The theme's scalable icon is drawn by hand; it must stay the same picture
// as the one the program paints for its window.
#include "resources/Icons.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

TEST(IconSvg, MatchesTheProgramsIconAtEachThemeSize) {
    for (const int size : {16, 32}) {
        QImage svg(size, size, QImage::Format_ARGB32_Premultiplied);
        svg.fill(Qt::transparent);
        QPainter painter(&svg);
        QSvgRenderer(QStringLiteral(ICON_SVG)).render(&painter);
        painter.end();
        const QImage drawn = AppIcon().pixmap(size).toImage().convertToFormat(svg.format());
        // The renderers round edges a little differently and the 16-pixel ticks
        // are a fraction thinner in the vector file; a moved shape or a changed
        // colour is far outside these bounds.
        int worst = 0, total = 0;
        for (int i = 0; i < size * size; ++i) {
            const QRgb a = svg.pixel(i % size, i / size), b = drawn.pixel(i % size, i / size);
            int d = 0;
            for (const int shift : {0, 8, 16, 24})
                d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            worst = std::max(worst, d);
            total += d;
        }
        EXPECT_LE(worst, 48) << size;
        EXPECT_LE(double(total) / (size * size), 2.0) << size << ": mean channel difference";
    }
}
