#include "support/DialogFixture.h"

#include "app/AboutDlg.h"
#include "platform/LiveText.h"
#include "platform/StaticControls.h"
#include "resources/DialogTemplates.h"
#include "resources/Resource.h"

#include <QComboBox>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

// Every text the dialogs show, measured in the dialog font against the room
// its control gives it: nothing may be cut or wrap onto a line that is not there.

namespace {

// The pixels the glyphs of one line cover, as wide as they are inked.
int InkWidth(const QFontMetrics& fm, const QString& text) {
    return fm.tightBoundingRect(text).width();
}

// Whether text, broken into lines as the control breaks it, fits area.
bool FitsWrapped(const QFontMetrics& fm, const QRect& area, int flags, const QString& text) {
    return area.contains(fm.boundingRect(area, flags, text));
}

// What every label, button and group box shows, and whether it fits.
struct Caption {
    QString text;
    bool fits;
};

Caption MeasureCaption(const QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return {label->text(), FitsWrapped(fm, label->contentsRect(), flags, label->text())};
    }
    if (auto* button = qobject_cast<const MultilineButton*>(w)) {
        const QRect area = button->rect().adjusted(2, 2, -2, -2);
        return {button->text(),
                FitsWrapped(fm, area, Qt::AlignCenter | Qt::TextWrapAnywhere, button->text())};
    }
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        // Owner-drawn buttons draw inside their 2-pixel bevel, the others
        // inside the style's contents rectangle.
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect area =
            IsOwnerDraw(button)
                ? button->rect().adjusted(2, 2, -2, -2)
                : button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return {button->text(),
                InkWidth(fm, button->text()) <= area.width() && fm.height() <= area.height()};
    }
    if (auto* live = qobject_cast<const LiveText*>(w))
        return {live->Text(),
                InkWidth(fm, live->Text()) <= live->width() && fm.height() <= live->height()};
    if (auto* group = qobject_cast<const GroupFrame*>(w))
        return {group->title(), InkWidth(fm, group->title()) <= group->width()};
    return {};
}

// Checks every captioned child of dialog; returns how many there were.
int ExpectCaptionsFit(const QWidget& dialog) {
    int captions = 0;
    for (const QWidget* w : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const Caption caption = MeasureCaption(w);
        if (caption.text.isEmpty())
            continue;
        ++captions;
        EXPECT_TRUE(caption.fits) << caption.text.toStdString() << " in " << w->width() << 'x'
                                  << w->height();
    }
    return captions;
}

int CaptionedControls(const DialogTemplate& tmpl) {
    int count = 0;
    for (const ControlTemplate& c : tmpl.controls)
        count += *c.caption ? 1 : 0;
    return count;
}

} // namespace

TEST_F(DialogTest, EveryCaptionFitsItsControl) {
    EXPECT_EQ(ExpectCaptionsFit(*dlg), CaptionedControls(g_tmplSerialDialog));
}

TEST_F(DialogTest, CaptionsFitAfterEveryToggle) {
    OpenPort();
    for (int id : {IDC_CURVE, IDC_ACQUIRE, IDC_STOPDISP, IDC_RECVMODE, IDC_SENDMODE})
        Click(id);
    qobject_cast<LiveText*>(dlg->GetDlgItem(IDC_CLOCK))->SetText(QStringLiteral("23:59:59:999"));
    ASSERT_EQ(Text(IDC_RECVMODE), "十六进制");
    EXPECT_EQ(ExpectCaptionsFit(*dlg), CaptionedControls(g_tmplSerialDialog));
}

TEST_F(DialogTest, EveryListEntryFitsTheClosedList) {
    int lists = 0;
    for (const QComboBox* list : dlg->findChildren<QComboBox*>()) {
        ++lists;
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.subControls = QStyle::SC_All;
        const QStyle* style = list->style();
        const QRect field =
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        const QRect arrow =
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
        // The arrow button is as narrow as a scroll bar, beside the text, not
        // over it, and both stay inside the 2-pixel sunken edge.
        EXPECT_EQ(arrow.width(), 16);
        EXPECT_LT(field.right(), arrow.left());
        const QRect inside = list->rect().adjusted(2, 2, -2, -2);
        EXPECT_TRUE(inside.contains(arrow));
        EXPECT_TRUE(inside.contains(field));
        const QFontMetrics fm = list->fontMetrics();
        EXPECT_LE(fm.height(), field.height());
        for (int i = 0; i < list->count(); ++i) {
            // The style draws the text one pixel into the field, left-aligned.
            const QRect ink =
                fm.tightBoundingRect(list->itemText(i)).translated(field.left() + 1, 0);
            EXPECT_GE(ink.left(), field.left()) << list->itemText(i).toStdString();
            EXPECT_LE(ink.right(), field.right()) << list->itemText(i).toStdString();
        }
    }
    EXPECT_EQ(lists, 6);
}

TEST_F(DialogTest, TheLowestReadingFitsTheReadout) {
    QLineEdit* readout = dlg->m_editTemp;
    readout->setText(QStringLiteral("摄氏-55.00℃"));
    readout->show();
    // Text wider than the box scrolls to keep the cursor in view; text that
    // fits keeps its place wherever the cursor is.
    auto cursorAt = [readout](int position) {
        readout->setCursorPosition(position);
        readout->grab();
        return readout->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const int first = cursorAt(0);
    const int last = cursorAt(int(readout->text().size()));
    EXPECT_EQ(last - first, readout->fontMetrics().horizontalAdvance(readout->text()));
    EXPECT_GE(first, 0);
    EXPECT_LE(last, readout->width());
}

TEST(AboutBox, EveryTextFitsItsControl) {
    CAboutDlg about;
    EXPECT_EQ(ExpectCaptionsFit(about), CaptionedControls(g_tmplAboutBox));
}

TEST(DialogFont, HasTheProportionsTheLayoutWasDrawnIn) {
    // Dialog units assume Latin glyphs half as wide as Chinese ones (8 units, two
    // average Latin widths, are one Chinese glyph), and a ℃ of the font's own.
    const QFont font = DialogFont(g_tmplSerialDialog);
    const QFontMetrics fm(font);
    EXPECT_EQ(2 * fm.horizontalAdvance(QStringLiteral("5")),
              fm.horizontalAdvance(QStringLiteral("温")));
    EXPECT_EQ(DialogUnits(font).X(8), fm.horizontalAdvance(QStringLiteral("温")));
    EXPECT_TRUE(fm.inFontUcs4(0x2103));
}
