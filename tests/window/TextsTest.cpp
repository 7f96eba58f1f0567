#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include "app/AboutDlg.h"
#include "platform/DialogBuilder.h"
#include "platform/LiveText.h"
#include "platform/StaticControls.h"
#include "platform/Translations.h"
#include "resources/Resource.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDirIterator>
#include <QFontInfo>
#include <QMessageBox>
#include <QRawFont>
#include <QStyleOption>
#include <QTextLayout>

// What the windows say: whole, in Chinese, and to assistive tools under a
// name that does not change.

namespace {

struct Caption {
    QStringList texts;
    QRect room;
    int flags = 0; // wrapping, as the control lays the text out
};

Caption CaptionOf(const QWidget* w) {
    const QString text = w->property("text").toString();
    // A line edit's one line is as high as its room.
    if (w->inherits("QLabel") || w->inherits("QLineEdit"))
        return {{text}, w->contentsRect(), Qt::TextWordWrap};
    if (auto* live = qobject_cast<const LiveText*>(w))
        return {{live->Text()}, live->rect()};
    if (auto* group = qobject_cast<const GroupFrame*>(w))
        return {{group->title()}, group->rect()};
    if (auto* list = qobject_cast<const QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries.append(list->itemText(i));
        return {entries, w->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, w)};
    }
    if (IsOwnerDraw(w) || w->inherits("MultilineButton"))
        return {
            {text}, w->rect().adjusted(2, 2, -2, -2), IsOwnerDraw(w) ? 0 : Qt::TextWrapAnywhere};
    QStyleOptionButton option;
    option.initFrom(w);
    return {{text}, w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w)};
}

// Every caption, every list entry among them, measured in the dialog font
// against the room its control gives it: nothing may be cut or wrap onto a
// line that is not there.
void ExpectCaptionsFit(const QWidget& window) {
    for (const QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const Caption c = CaptionOf(w);
        const QFontMetrics fm = w->fontMetrics();
        for (const QString& text : c.texts) {
            // A line that does not wrap needs the room its glyphs ink.
            const QSize ink(fm.tightBoundingRect(text).width(), fm.height());
            const QRect needed =
                c.flags ? fm.boundingRect(c.room, c.flags, text) : QRect(c.room.topLeft(), ink);
            EXPECT_TRUE(text.isEmpty() || c.room.contains(needed))
                << text.toStdString() << " in " << c.room.width() << 'x' << c.room.height();
        }
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

// Qt's own texts are Chinese whatever the locale (the tests run under LC_ALL=C.UTF-8).
TEST(QtTranslations, GiveQtsOwnButtonsChineseTexts) {
    const auto translations = InstallQtTranslations();
    const QMessageBox box(QMessageBox::Warning, {}, {}, QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
}

// The clock's changing text is its value, so it does not announce a new name
// a hundred times a second.
TEST_F(DialogTest, TheClockNamesItselfOnceAndShowsTheTimeAsItsValue) {
    QAccessibleInterface* clock = QAccessible::queryAccessibleInterface(dlg->GetDlgItem(IDC_CLOCK));
    const QString first = clock->text(QAccessible::Value);
    ASSERT_TRUE(WaitUntil([&] { return clock->text(QAccessible::Value) != first; }));
    EXPECT_EQ(clock->role(), QAccessible::Clock);
    EXPECT_EQ(clock->text(QAccessible::Name), "系统时间");
    EXPECT_EQ(clock->text(QAccessible::Value), Text(IDC_CLOCK));
    // The other texts are labels, named by what they say.
    const auto* label = QAccessible::queryAccessibleInterface(dlg->GetDlgItem(IDC_RESP_LABEL));
    EXPECT_EQ(label->text(QAccessible::Name), "响应字节数");
}

// The dialog draws in the face cut to the program's texts, and the cut holds
// every character of them that the installed face has: one it lacks would be
// read from the installed 21 MB file instead, some 64 KiB of it mapped per glyph.
TEST_F(DialogTest, TheDialogFaceHoldsEveryCharacterOfTheProgramsTexts) {
    EXPECT_EQ(QFontInfo(dlg->font()).family(), "AR PL UMing CN Dialog");
    const QRawFont cut = QRawFont::fromFont(dlg->font());
    const QRawFont installed(QStringLiteral("/usr/share/fonts/truetype/arphic/uming.ttc"), 12);
    ASSERT_TRUE(installed.isValid());
    QString missing;
    QDirIterator sources(QStringLiteral(SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        QFile source(sources.next());
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        for (const char32_t c : QString::fromUtf8(source.readAll()).toUcs4())
            if (installed.supportsCharacter(c) && !cut.supportsCharacter(c) &&
                !missing.contains(QString::fromUcs4(&c, 1)))
                missing += QString::fromUcs4(&c, 1);
    }
    // Characters of no text of the program, such as received ones, come from the installed face.
    QTextLayout received(QStringLiteral("鑫"), dlg->font());
    received.beginLayout();
    received.createLine();
    received.endLayout();
    EXPECT_EQ(received.glyphRuns().value(0).rawFont().familyName(), "AR PL UMing CN");
    EXPECT_TRUE(missing.isEmpty()) << "the dialog face lacks " << missing.toStdString()
                                   << ": run scripts/dialog-font.sh and commit the face";
}
