#include "support/DialogFixture.h"

#include "app/AboutDlg.h"
#include "platform/DialogBuilder.h"
#include "platform/LiveText.h"
#include "platform/StaticControls.h"
#include "resources/Resource.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

// Every text the dialogs show, measured in the dialog font against the room
// its control gives it: nothing may be cut or wrap onto a line that is not there.

namespace {

struct Caption {
    QString text;
    QRect room;
    int flags = 0; // wrapping, as the control lays the text out
};

Caption CaptionOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w))
        return {label->text(), label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap};
    if (auto* live = qobject_cast<const LiveText*>(w))
        return {live->Text(), live->rect()};
    if (auto* group = qobject_cast<const GroupFrame*>(w))
        return {group->title(), group->rect()};
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return {edit->text(), edit->contentsRect()};
    if (qobject_cast<const MultilineButton*>(w) || IsOwnerDraw(w))
        return {w->property("text").toString(), w->rect().adjusted(2, 2, -2, -2),
                IsOwnerDraw(w) ? 0 : int(Qt::TextWrapAnywhere)};
    QStyleOptionButton option;
    option.initFrom(w);
    return {w->property("text").toString(),
            w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w)};
}

void ExpectCaptionsFit(const QWidget& window) {
    for (const QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const Caption c = CaptionOf(w);
        if (c.text.isEmpty())
            continue;
        // A line that does not wrap needs the room its glyphs ink.
        const QFontMetrics fm = w->fontMetrics();
        const QRect needed =
            c.flags
                ? fm.boundingRect(c.room, c.flags, c.text)
                : QRect(c.room.topLeft(), QSize(fm.tightBoundingRect(c.text).width(), fm.height()));
        EXPECT_TRUE(c.room.contains(needed))
            << c.text.toStdString() << " in " << w->width() << 'x' << w->height();
    }
}

} // namespace

TEST_F(DialogTest, EveryCaptionFitsInEveryState) {
    ExpectCaptionsFit(*dlg);
    OpenPort();
    for (int id : {IDC_CURVE, IDC_ACQUIRE, IDC_STOPDISP, IDC_RECVMODE, IDC_SENDMODE})
        Click(id);
    Select(IDC_RESPBYTES, 4);
    comm->Receive("-55.0"); // the sensor's lowest reading
    ASSERT_EQ(Text(IDC_TEMP), "摄氏-55.00℃");
    ExpectCaptionsFit(*dlg);
    ExpectCaptionsFit(CAboutDlg());
}

TEST_F(DialogTest, EveryListEntryFitsTheClosedList) {
    for (const QComboBox* list : dlg->findChildren<QComboBox*>()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LT(list->fontMetrics().horizontalAdvance(list->itemText(i)), field.width())
                << list->itemText(i).toStdString();
    }
}
