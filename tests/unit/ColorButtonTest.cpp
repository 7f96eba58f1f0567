#include "controls/ColorButton.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

namespace {

using Pixels = std::set<std::pair<int, int>>;
constexpr QRgb kSentinel = 0xff203040;
constexpr QRgb kInvert = 0x00ffffff;

QImage Canvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kSentinel);
    return img;
}

QRgb Grey(int level) {
    return qRgb(level, level, level);
}

Pixels Where(const QImage& img, const std::function<bool(int, int)>& pred) {
    Pixels found;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pred(x, y))
                found.insert({x, y});
    return found;
}

Pixels PixelsOf(const QImage& img, QRgb c) {
    return Where(img, [&](int x, int y) { return img.pixel(x, y) == c; });
}

template <class Case> std::string CaseName(const ::testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

struct LineCase {
    const char* name;
    int x1, y1, x2, y2;
    Pixels expected;
};

class DrawLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(DrawLineTest, DrawsExactPixelsWithoutEndPoint) {
    const LineCase& c = GetParam();
    QImage img = Canvas(10, 10);
    QPainter dc(&img);
    CColorButton::DrawLine(dc, c.x1, c.y1, c.x2, c.y2, Qt::white);
    dc.end();
    EXPECT_EQ(PixelsOf(img, Grey(255)), c.expected);
}

const LineCase kLines[] = {
    {"Rightwards", 1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"Leftwards", 5, 2, 1, 2, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
    {"Downwards", 3, 1, 3, 4, {{3, 1}, {3, 2}, {3, 3}}},
    {"Upwards", 3, 4, 3, 1, {{3, 4}, {3, 3}, {3, 2}}},
    {"AntiDiagonal", 4, 1, 1, 4, {{4, 1}, {3, 2}, {2, 3}}},
    {"Shallow", 1, 1, 7, 3, {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {6, 3}}},
    {"Steep", 8, 8, 6, 2, {{8, 8}, {8, 7}, {7, 6}, {7, 5}, {7, 4}, {6, 3}}},
    {"ZeroLength", 6, 6, 6, 6, {}},
};
INSTANTIATE_TEST_SUITE_P(Lines, DrawLineTest, ::testing::ValuesIn(kLines), CaseName<LineCase>);

struct FrameCase {
    const char* name;
    int width;
    std::vector<std::pair<int, int>> rings; // top/left and bottom/right grey, outermost first
};

class DrawFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(DrawFrameTest, RingsHaveTheirGreyLevels) {
    const FrameCase& c = GetParam();
    const int w = 20, h = 14, n = static_cast<int>(c.rings.size());
    QImage img = Canvas(w, h);
    QPainter dc(&img);
    CColorButton::DrawFrame(dc, QRect(0, 0, w, h), c.width);
    dc.end();
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(testing::Message() << "ring " << i);
        EXPECT_EQ(img.pixel(w / 2, i), Grey(c.rings[i].first)) << "top";
        EXPECT_EQ(img.pixel(i, h / 2), Grey(c.rings[i].first)) << "left";
        EXPECT_EQ(img.pixel(w / 2, h - 1 - i), Grey(c.rings[i].second)) << "bottom";
        EXPECT_EQ(img.pixel(w - 1 - i, h / 2), Grey(c.rings[i].second)) << "right";
    }
    EXPECT_EQ(img.copy(n, n, w - 2 * n, h - 2 * n), Canvas(w - 2 * n, h - 2 * n)) << "inside";
}

const FrameCase kFrames[] = {
    {"Flat", 0, {}},
    {"Raised1", 1, {{255, 128}}},
    {"Sunken1", -1, {{128, 255}}},
    {"Raised2", 2, {{255, 127}, {223, 85}}},
    {"Sunken2", -2, {{127, 255}, {85, 1}}},
    {"Raised3", 3, {{255, 127}, {223, 85}, {213, 63}}},
    {"Sunken3", -3, {{127, 255}, {85, 223}, {63, 1}}},
};
INSTANTIATE_TEST_SUITE_P(Bevels, DrawFrameTest, ::testing::ValuesIn(kFrames), CaseName<FrameCase>);

TEST(DrawFrame, TopAndLeftEdgesOwnTheirCornersAndStayInsideTheRect) {
    for (const int width : {1, -1}) {
        SCOPED_TRACE(width);
        const QRgb topLeft = Grey(width > 0 ? 255 : 128), bottomRight = Grey(width > 0 ? 128 : 255);
        QImage img = Canvas(14, 12);
        const QRect rc(2, 2, 10, 8); // pixels 2..11 by 2..9
        QPainter dc(&img);
        CColorButton::DrawFrame(dc, rc, width);
        dc.end();
        EXPECT_EQ(img.pixel(2, 2), topLeft);
        EXPECT_EQ(img.pixel(11, 2), topLeft);
        EXPECT_EQ(img.pixel(2, 9), topLeft);
        EXPECT_EQ(img.pixel(11, 9), bottomRight);
        QPainter(&img).fillRect(rc, QColor(kSentinel));
        EXPECT_EQ(img, Canvas(14, 12)) << "drawn outside the rect";
    }
}

TEST(DrawFocusRect, InvertsAlternateBorderPixelsOnceAndUndoesItself) {
    QImage original = Canvas(12, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            original.setPixel(x, y, qRgb(x * 23, y * 25, x * y % 256));
    for (const QRect& rc : {QRect(2, 2, 8, 6), QRect(3, 2, 5, 1), QRect(2, 3, 1, 4)}) {
        SCOPED_TRACE(testing::Message()
                     << rc.x() << "," << rc.y() << " " << rc.width() << "x" << rc.height());
        QImage img = original;
        QPainter dc(&img);
        CColorButton::DrawFocusRect(dc, rc);
        const QImage once = img.copy();
        CColorButton::DrawFocusRect(dc, rc);
        dc.end();

        const Pixels border = Where(img, [&](int x, int y) {
            const bool edge =
                x == rc.left() || x == rc.right() || y == rc.top() || y == rc.bottom();
            return rc.contains(x, y) && edge && (x + y) % 2 == 0;
        });
        EXPECT_EQ(Where(img, [&](int x, int y) { return once.pixel(x, y) != img.pixel(x, y); }),
                  border);
        for (const auto& [x, y] : border)
            EXPECT_EQ(once.pixel(x, y), original.pixel(x, y) ^ kInvert);
        EXPECT_EQ(img, original) << "second call restores";
    }
}

constexpr int kId = 1009;
const QColor kFace(0, 0, 255), kText(255, 255, 0), kDisabled(0, 0, 128);

class ColorButtonTest : public ::testing::Test {
protected:
    QPushButton* AddButton(int id, bool ownerDraw) {
        auto* created = new QPushButton(&parent);
        created->setProperty("ctrlId", id);
        created->setProperty("ownerDraw", ownerDraw);
        created->setGeometry(10, 10, 60, 40);
        return created;
    }

    QImage Draw(unsigned state, int w = 60, int h = 40) {
        QImage img = Canvas(w, h);
        QPainter dc(&img);
        colorButton.DrawItem({&dc, QRect(0, 0, w, h), state});
        return img;
    }

    static QImage Grab(QWidget* w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QWidget parent;
    QPushButton* button = AddButton(kId, true);
    CColorButton colorButton;
};

TEST_F(ColorButtonTest, FlatButtonWithoutCaptionIsOnlyTheFace) {
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 0));
    EXPECT_EQ(PixelsOf(Draw(0), kFace.rgb()).size(), 60u * 40u);
}

TEST_F(ColorButtonTest, CaptionColourFollowsState) {
    struct Case {
        const char* name;
        unsigned state;
        bool normal, disabled;
    };
    button->setText("Hg");
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 0));
    for (const Case& c :
         {Case{"normal", 0, true, false}, Case{"disabled over normal", ODS_DISABLED, false, true},
          // Focus ends the drawing before the disabled caption.
          Case{"disabled with focus", ODS_DISABLED | ODS_FOCUS, true, false}}) {
        SCOPED_TRACE(c.name);
        const QImage img = Draw(c.state);
        EXPECT_EQ(!PixelsOf(img, kText.rgb()).empty(), c.normal);
        EXPECT_EQ(!PixelsOf(img, kDisabled.rgb()).empty(), c.disabled);
    }
}

TEST_F(ColorButtonTest, PressedLookNeedsFocus) {
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 2));
    const QRgb face = kFace.rgb(), inverted = face ^ kInvert;
    struct Case {
        const char* name;
        unsigned state;
        QRgb top, bottom, secondRing, focusCorner;
    };
    for (const Case& c :
         {Case{"pressed", ODS_SELECTED | ODS_FOCUS, Grey(128), Grey(255), face, inverted},
          Case{"focused", ODS_FOCUS, Grey(255), Grey(127), Grey(223), inverted},
          Case{"selected only", ODS_SELECTED, Grey(255), Grey(127), Grey(223), face}}) {
        SCOPED_TRACE(c.name);
        const QImage img = Draw(c.state);
        EXPECT_EQ(img.pixel(30, 0), c.top);
        EXPECT_EQ(img.pixel(0, 20), c.top);
        EXPECT_EQ(img.pixel(30, 39), c.bottom);
        EXPECT_EQ(img.pixel(59, 20), c.bottom);
        EXPECT_EQ(img.pixel(30, 1), c.secondRing);
        EXPECT_EQ(img.pixel(4, 4), c.focusCorner);
        EXPECT_EQ(img.pixel(55, 35), c.focusCorner);
        EXPECT_EQ(img.pixel(5, 4), face);
    }
}

TEST_F(ColorButtonTest, CaptionIsCutAt511Characters) {
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 0));
    QString caption;
    for (int i = 0; i < 512; ++i)
        caption += QChar('0' + i % 10);
    const auto drawCaption = [&](const QString& text) {
        button->setText(text);
        return Draw(0, 8000, 30);
    };
    const QImage cut = drawCaption(caption.left(511));
    EXPECT_NE(drawCaption(caption.left(510)), cut) << "one character fewer must show";
    EXPECT_EQ(drawCaption(caption), cut);
}

TEST_F(ColorButtonTest, PaintsOnlyOwnerDrawnButtons) {
    QPushButton* plain = AddButton(1003, false);
    CColorButton plainColors;
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 2));
    ASSERT_TRUE(plainColors.Attach(1003, &parent, kFace, kText, kDisabled, 2));
    const QImage drawn = Grab(button);
    EXPECT_EQ(drawn.pixel(30, 20), kFace.rgb());
    EXPECT_EQ(drawn.pixel(30, 0), Grey(255));
    EXPECT_TRUE(PixelsOf(Grab(plain), kFace.rgb()).empty());
}

TEST_F(ColorButtonTest, FailedAttachStoresNothing) {
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 0));
    EXPECT_FALSE(colorButton.Attach(4242, &parent, Qt::red, kText, kDisabled, 0));
    EXPECT_EQ(Grab(button).pixel(30, 20), kFace.rgb());
}

TEST_F(ColorButtonTest, PressedFocusedWidgetShowsInvertedFocusRect) {
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 2));
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    button->setFocus();
    button->setDown(true);
    const QImage drawn = Grab(button);
    EXPECT_EQ(drawn.pixel(30, 0), Grey(128));
    EXPECT_EQ(drawn.pixel(4, 4), kFace.rgb() ^ kInvert);
}

} // namespace
