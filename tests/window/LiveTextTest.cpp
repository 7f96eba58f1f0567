#include "platform/LiveText.h"

#include "app/DialogColors.h"
#include "platform/DialogBuilder.h"
#include "resources/DialogTemplates.h"
#include "support/WaitUntil.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* name;
    const char* text; // UTF-8
    Qt::Alignment alignment;
    int width;
    friend void PrintTo(const TextCase& row, std::ostream* os) { *os << row.name; }
};

// A parent with the dialog's font and colours, as the builder makes them.
struct Dialog {
    Dialog() {
        widget.setFont(DialogFont(g_tmplSerialDialog));
        SetDialogBkColor(&widget);
        widget.resize(200, 60);
    }
    QWidget widget;
};

QLabel* MakeLabel(const TextCase& c, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(c.text), parent);
    label->setAlignment(c.alignment);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(0, 0, c.width, 20);
    return label;
}

} // namespace

class LiveTextLooks : public ::testing::TestWithParam<TextCase> {};

// Glyphs placed by hand must land where a label's text drawing puts them,
// and what it cannot place (a missing glyph, a line too long) is drawn as a
// label draws it.
TEST_P(LiveTextLooks, AsTheDialogsOtherStaticTexts) {
    const TextCase& c = GetParam();
    Dialog dlg;
    QLabel* label = MakeLabel(c, &dlg.widget);
    LiveText live(QString::fromUtf8(c.text), c.alignment, &dlg.widget);
    live.setGeometry(0, 30, c.width, 20);
    EXPECT_EQ(live.grab().toImage(), label->grab().toImage());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LiveTextLooks,
    ::testing::Values(TextCase{"Clock", "9:5:3:7", Qt::AlignTop | Qt::AlignLeft, 74},
                      TextCase{"LongClock", "23:59:59:999", Qt::AlignTop | Qt::AlignLeft, 74},
                      TextCase{"Counter", "10000", Qt::AlignTop | Qt::AlignHCenter, 41},
                      TextCase{"WaitingBytes", "15Bytes", Qt::AlignTop | Qt::AlignHCenter, 44},
                      TextCase{"Caption", "RX", Qt::AlignTop | Qt::AlignHCenter, 41},
                      TextCase{"TooWideWraps", "12345 67890 12345", Qt::AlignTop | Qt::AlignLeft,
                               40},
                      TextCase{"NoGlyph", "接收字节", Qt::AlignTop | Qt::AlignHCenter, 60}),
    [](const auto& row) { return std::string(row.param.name); });

// A change repaints only the glyphs it touches: after each of these, what
// the window shows must be what a fresh paint of the new text shows.
TEST(LiveTextChanges, LeaveTheWindowAsAFreshPaintWould) {
    Dialog dlg;
    LiveText live(QStringLiteral("Static"), Qt::AlignTop | Qt::AlignLeft, &dlg.widget);
    live.setGeometry(10, 20, 74, 14);
    LiveText centred(QStringLiteral("RX"), Qt::AlignTop | Qt::AlignHCenter, &dlg.widget);
    centred.setGeometry(100, 20, 41, 14);
    dlg.widget.show();
    live.TakeBackdrop();
    centred.TakeBackdrop();
    DrainEvents();

    // The backdrop is what lies beneath, without the text it had then.
    const QRect area(live.mapTo(&dlg.widget, QPoint()), live.size());
    live.hide();
    const QImage beneath = dlg.widget.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    live.show();
    live.SetText(QString());
    EXPECT_EQ(live.grab().toImage().convertToFormat(QImage::Format_RGB32), beneath);

    const char* const ticks[] = {"9:5:3:7",  "9:5:3:17",    "9:5:3:117", "9:5:4:7",
                                 "10:0:0:0", "9:59:59:999", "接收",      "9:5:3:7"};
    const char* const counts[] = {"5", "10", "9995", "10000", "0", "6Bytes", "RX", "5"};
    QScreen* screen = QGuiApplication::primaryScreen();
    for (std::size_t i = 0; i < std::size(ticks); ++i) {
        SCOPED_TRACE(ticks[i]);
        live.SetTextNow(QString::fromUtf8(ticks[i]));
        centred.SetText(QString::fromUtf8(counts[i]));
        DrainEvents();
        for (LiveText* text : {&live, &centred}) {
            const QPoint at = text->mapTo(&dlg.widget, QPoint());
            const QImage shown =
                screen
                    ->grabWindow(dlg.widget.winId(), at.x(), at.y(), text->width(), text->height())
                    .toImage()
                    .convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(shown, text->grab().toImage().convertToFormat(QImage::Format_RGB32))
                << text->Text().toStdString();
        }
    }
}

// Assistive tools get a fixed name and read the changing text as a value,
// so a clock does not announce a new name a hundred times a second.
TEST(LiveTextAccessibility, NamesItselfOnceAndShowsTheTextAsItsValue) {
    Dialog dlg;
    LiveText live(QStringLiteral("Static"), Qt::AlignTop | Qt::AlignLeft, &dlg.widget);
    live.SetAccessibleRole(QAccessible::Clock, QStringLiteral("系统时间"));
    live.SetTextNow(QStringLiteral("9:5:3:7"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&live);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Clock);
    EXPECT_EQ(face->text(QAccessible::Name), "系统时间");
    EXPECT_EQ(face->text(QAccessible::Value), "9:5:3:7");
    live.SetText(QStringLiteral("9:5:3:17"));
    EXPECT_EQ(face->text(QAccessible::Name), "系统时间");
    EXPECT_EQ(face->text(QAccessible::Value), "9:5:3:17");
}
