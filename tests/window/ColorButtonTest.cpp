#include "controls/ColorButton.h"

#include "platform/DialogBuilder.h"
#include "resources/Resource.h"

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

Pixels PixelsOf(const QImage& img, QRgb c) {
    Pixels found;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == c)
                found.insert({x, y});
    return found;
}

QImage Paint(int w, int h, const std::function<void(QPainter&)>& draw) {
    QImage img = Canvas(w, h);
    QPainter dc(&img);
    draw(dc);
    return img;
}

TEST(DrawLine, DrawsExactPixelsWithoutEndPoint) {
    const struct {
        int x1, y1, x2, y2;
        Pixels expected;
    } rows[] = {{1, 1, 7, 3, {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {6, 3}}},
                {8, 8, 6, 2, {{8, 8}, {8, 7}, {7, 6}, {7, 5}, {7, 4}, {6, 3}}},
                {6, 6, 6, 6, {}}};
    for (const auto& c : rows) {
        const QImage img = Paint(10, 10, [&](QPainter& dc) {
            CColorButton::DrawLine(dc, c.x1, c.y1, c.x2, c.y2, Qt::white);
        });
        EXPECT_EQ(PixelsOf(img, Grey(255)), c.expected) << c.x1 << "," << c.y1;
    }
}

// The whole image is compared: the top and left edges own the top-right and
// bottom-left corners; nothing is drawn inside the rings or outside the rect.
TEST(DrawFrame, RingsCornersAndNothingElse) {
    const struct {
        int width;
        std::vector<std::pair<int, int>> rings; // top/left and bottom/right grey, outermost first
    } rows[] = {{0, {}},
                {1, {{255, 128}}},
                {-1, {{128, 255}}},
                {2, {{255, 127}, {223, 85}}},
                {-3, {{127, 255}, {85, 223}, {63, 1}}}};
    const QRect rc(2, 2, 20, 14);
    for (const auto& c : rows) {
        const QImage expected = Paint(24, 18, [&](QPainter& dc) {
            // Light over the ring, dark over its bottom-right part, the inside blanked.
            for (int i = 0; i < static_cast<int>(c.rings.size()); ++i) {
                const QRect r = rc.adjusted(i, i, -i, -i);
                dc.fillRect(r, QColor(Grey(c.rings[i].first)));
                dc.fillRect(r.adjusted(1, 1, 0, 0), QColor(Grey(c.rings[i].second)));
                dc.fillRect(r.adjusted(1, 1, -1, -1), QColor(kSentinel));
            }
        });
        const QImage drawn =
            Paint(24, 18, [&](QPainter& dc) { CColorButton::DrawFrame(dc, rc, c.width); });
        EXPECT_TRUE(drawn == expected) << "bevel " << c.width;
    }
}

TEST(DrawFocusRect, InvertsAlternateBorderPixelsOnceAndUndoesItself) {
    // A one-pixel-high rect must not invert its row twice.
    for (const QRect& rc : {QRect(2, 2, 8, 6), QRect(3, 2, 5, 1)}) {
        QImage once;
        const QImage twice = Paint(12, 10, [&](QPainter& dc) {
            CColorButton::DrawFocusRect(dc, rc);
            once = static_cast<QImage*>(dc.device())->copy();
            CColorButton::DrawFocusRect(dc, rc);
        });
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool edge =
                    x == rc.left() || x == rc.right() || y == rc.top() || y == rc.bottom();
                const bool inverted = rc.contains(x, y) && edge && (x + y) % 2 == 0;
                EXPECT_EQ(once.pixel(x, y), kSentinel ^ (inverted ? kInvert : 0)) << x << "," << y;
            }
        EXPECT_TRUE(twice == Canvas(12, 10)) << "second call restores";
    }
}

constexpr int kId = IDC_CURVE;
const QColor kFace(0, 0, 255), kText(255, 255, 0), kDisabled(0, 0, 128);
const QRgb kFocusOn = kFace.rgb() ^ kInvert;

class ColorButtonTest : public ::testing::Test {
protected:
    QPushButton* AddButton(int id, bool ownerDraw) {
        auto* created = new QPushButton(&parent);
        created->setProperty(kCtrlIdProperty, id);
        created->setProperty(kOwnerDrawProperty, ownerDraw);
        created->setGeometry(10, 10, 60, 40);
        return created;
    }
    QImage Draw(unsigned state, int w = 60, int h = 40) {
        return Paint(w, h, [&](QPainter& dc) {
            colorButton.DrawItem({&dc, QRect(0, 0, w, h), state});
        });
    }

    QWidget parent;
    QPushButton* button = AddButton(kId, true);
    CColorButton colorButton;
};

TEST_F(ColorButtonTest, LookFollowsState) {
    // Focus ends the drawing before the disabled caption; selection needs focus.
    const struct {
        const char* name;
        unsigned state;
        bool pressedLook, focusShown;
        QColor caption; // the caption colour that shows; the other one must not
    } rows[] = {{"normal", 0, false, false, kText},
                {"disabled", ODS_DISABLED, false, false, kDisabled},
                {"disabled, focus", ODS_DISABLED | ODS_FOCUS, false, true, kText},
                {"pressed", ODS_SELECTED | ODS_FOCUS, true, true, kText},
                {"selected, no focus", ODS_SELECTED, false, false, kText}};
    button->setText("Hg");
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 2));
    for (const auto& c : rows) {
        SCOPED_TRACE(c.name);
        const QImage img = Draw(c.state);
        EXPECT_EQ(img.pixel(30, 0), c.pressedLook ? Grey(128) : Grey(255));
        EXPECT_EQ(img.pixel(30, 1), c.pressedLook ? kFace.rgb() : Grey(223));
        EXPECT_EQ(img.pixel(4, 4), c.focusShown ? kFocusOn : kFace.rgb());
        EXPECT_EQ(!PixelsOf(img, kText.rgb()).empty(), c.caption == kText);
        EXPECT_EQ(!PixelsOf(img, kDisabled.rgb()).empty(), c.caption == kDisabled);
    }
}

TEST_F(ColorButtonTest, CaptionIsCutAt511Characters) {
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 0));
    const QString caption = QString("0123456789").repeated(52).left(512);
    const auto drawCaption = [&](int length) {
        button->setText(caption.left(length));
        return Draw(0, 8000, 30);
    };
    const QImage cut = drawCaption(511);
    EXPECT_FALSE(drawCaption(510) == cut) << "one character fewer must show";
    EXPECT_TRUE(drawCaption(512) == cut);
}

TEST_F(ColorButtonTest, AttachedWidgetPaintsItsStateOnlyIfOwnerDrawn) {
    const auto Grab = [](QWidget* w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    QPushButton* plain = AddButton(IDC_SEND, false);
    CColorButton plainColors;
    ASSERT_TRUE(colorButton.Attach(kId, &parent, kFace, kText, kDisabled, 2));
    ASSERT_TRUE(plainColors.Attach(IDC_SEND, &parent, kFace, kText, kDisabled, 2));
    EXPECT_FALSE(colorButton.Attach(4242, &parent, Qt::red, kText, kDisabled, 0));
    EXPECT_EQ(Grab(button).pixel(30, 20), kFace.rgb()) << "a failed attach stores nothing";
    EXPECT_EQ(Grab(button).pixel(30, 0), Grey(255));
    EXPECT_TRUE(PixelsOf(Grab(plain), kFace.rgb()).empty());

    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    button->setFocus();
    button->setDown(true);
    EXPECT_EQ(Grab(button).pixel(30, 0), Grey(128));
    EXPECT_EQ(Grab(button).pixel(4, 4), kFocusOn);
}

} // namespace
