#include "temperature/CurveWnd.h"

#include "platform/WindowStyles.h"
#include "resources/Resource.h"
#include "support/WaitUntil.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {

constexpr QRgb kGrid = qRgb(0, 100, 0);
constexpr QRgb kBackground = qRgb(50, 50, 50);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr int W = 480;
constexpr int H = 178;

// A curve window as the dialog makes it, with the range 0 to 100.
struct Curve {
    explicit Curve(QSize client = {W, H}) {
        wnd.Create(WS_CHILD | WS_VISIBLE, QRect(QPoint(6, 9), client + QSize(6, 6)), &dlg,
                   IDC_CURVEWND);
        wnd.SetRange(0, 100);
    }
    QImage img() const { return wnd.Surface(); }
    QWidget dlg;
    CCurveWnd wnd;
};

using Pixels = std::set<std::pair<int, int>>;

// Within area: white exactly at `white`, elsewhere the platform's hatch with
// its lines at x = 4 and y = 3 of every 8 x 8 cell of the image.
testing::AssertionResult Shows(const QImage& img, QRect area, const Pixels& white = {}) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb want = white.count({x, y})        ? kWhite
                              : x % 8 == 4 || y % 8 == 3 ? kGrid
                                                         : kBackground;
            if (img.pixel(x, y) != want)
                return testing::AssertionFailure() << "pixel " << x << ", " << y;
        }
    return testing::AssertionSuccess();
}

// A polyline by definition: at step i of a segment's longer axis the pixel
// nearest to the exact line, ties to the smaller coordinate, no end point.
Pixels Line(std::initializer_list<QPoint> points) {
    Pixels px;
    for (auto a = points.begin(), b = a + 1; b != points.end(); ++a, ++b) {
        const QPoint d = *b - *a;
        const int n = std::max(std::abs(d.x()), std::abs(d.y()));
        const auto nearest = [n](int i, int delta) {
            return int(std::ceil((2.0 * i * delta - n) / (2.0 * n)));
        };
        for (int i = 0; i < n; ++i)
            if (const QPoint p = *a + QPoint(nearest(i, d.x()), nearest(i, d.y())); p.y() < H)
                px.insert({p.x(), p.y()});
    }
    return px;
}

} // namespace

// The hatch stays anchored at the image origin through the scroll and the
// new strip, also where the width is no multiple of the period or below it.
TEST(CurveWnd, FirstValueLeavesTheBareGrid) {
    for (const QSize size : {QSize(W, H), QSize(475, 101), QSize(5, 4)}) {
        Curve c(size);
        EXPECT_TRUE(Shows(c.img(), c.img().rect())) << size.width();
        c.wnd.AddValue(50);
        EXPECT_TRUE(Shows(c.img(), c.img().rect())) << size.width();
    }
}

TEST(CurveWnd, SecondValueDrawsFromThePreviousPoint) {
    const struct {
        const char* name;
        int v1, v2; // values added
        int y1, y2; // rows they land on
    } rows[] = {{"max", 100, 100, 0, 0},
                {"min below image", 0, 0, H, H},
                {"one above min", 1, 1, 177, 177},
                {"steep down, truncated", 50, 27, 89, 130},
                {"steep up", 27, 50, 130, 89},
                {"shallow down ties", 50, 48, 89, 93},
                {"shallow up ties", 48, 50, 93, 89},
                {"int max", INT_MAX, 50, 0, 89},
                {"int min", INT_MIN, 27, H, 130}};
    for (const auto& s : rows) {
        Curve c;
        c.wnd.AddValue(s.v1);
        c.wnd.AddValue(s.v2);
        EXPECT_TRUE(Shows(c.img(), QRect(W - 40, 0, 40, H), Line({{W - 16, s.y1}, {W - 8, s.y2}})))
            << s.name;
    }
}

// From the second value on, each label cell at (0, 2 + 16k) is opaque over
// whatever has scrolled beneath it.
TEST(CurveWnd, LabelsStayOpaqueOverTheScrollingCurve) {
    Curve c;
    c.wnd.AddValue(100);
    c.wnd.AddValue(100);
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(c.img().pixel(4, 1 + 16 * k), kGrid) << "label " << k << " starts too high";
    for (int i = 0; i < 80; ++i)
        c.wnd.AddValue(i % 2 ? 100 : 0);
    for (int k = 0; k <= 10; ++k)
        for (int y = 2 + 16 * k; y < 14 + 16 * k; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_TRUE(c.img().pixel(x, y) == kBackground || c.img().pixel(x, y) == kWhite)
                    << x << ", " << y;
}

TEST(CurveWnd, NewRangeMovesOnlyLaterValuesAndPaintShowsTheSurface) {
    Curve c;
    c.wnd.AddValue(50);
    c.wnd.AddValue(27);
    const QImage before = c.img().copy();
    c.wnd.SetRange(0, 200);
    EXPECT_TRUE(c.img() == before);
    c.wnd.AddValue(150); // 178 - trunc(0.75 * 178)
    EXPECT_TRUE(
        Shows(c.img(), QRect(W - 40, 0, 40, H), Line({{W - 24, 89}, {W - 16, 130}, {W - 8, 45}})));
    // Painting copies the surface inside the three-pixel border.
    const QImage shot = c.wnd.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(shot.copy(3, 3, W, H) == c.img());
}

// A value moves what the window shows rather than painting it all again:
// after each, the window must show the picture as a full paint would.
TEST(CurveWnd, WindowFollowsThePictureStepByStep) {
    Curve c;
    c.dlg.resize(W + 20, H + 20);
    c.dlg.show();
    DrainEvents();
    QScreen* screen = QGuiApplication::primaryScreen();
    // Past 60 values the picture goes back to the start of its image.
    for (int i = 0; i < 80; ++i) {
        SCOPED_TRACE(i);
        c.wnd.AddValue(i % 7 ? 20 + i % 60 : 100 - i);
        if (i % 8 && i < 78)
            continue;
        DrainEvents();
        const QPoint at = c.wnd.mapTo(&c.dlg, QPoint(3, 3));
        const QImage shown = screen->grabWindow(c.dlg.winId(), at.x(), at.y(), W, H)
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == c.img());
    }
}
