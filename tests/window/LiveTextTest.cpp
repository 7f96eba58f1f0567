#include "support/DialogFixture.h"
#include "support/ShownOnScreen.h"
#include "support/WaitUntil.h"

#include "platform/LiveText.h"
#include "resources/Resource.h"

#include <QLabel>

// The live texts (the clock, the counters) look like the labels they stand
// for, and the screen shows each of their changes.

namespace {

// Texts a clock or a counter shows; one with a character the dialog face
// lacks, drawn from the installed face; one too wide for its control.
const QStringList kTexts = {"12:34:56:789", "RX",   "9990",
                            "15Bytes",      "鑫30", "1234567890123456789012345"};

} // namespace

// Each text, left-aligned and centred, as the label the dialog builder makes
// for the same control paints it.
TEST_F(DialogTest, ALiveTextLooksLikeTheLabelOfItsControl) {
    const QSize size = dlg->GetDlgItem(IDC_CLOCK)->size();
    for (const Qt::Alignment alignment : {Qt::AlignLeft, Qt::AlignHCenter}) {
        for (const QString& text : kTexts) {
            QWidget parent;
            parent.setFont(dlg->font());
            LiveText live(text, Qt::AlignTop | alignment, &parent);
            QLabel label(text, &parent);
            label.setAlignment(Qt::AlignTop | alignment);
            label.setWordWrap(true);
            label.setTextFormat(Qt::PlainText);
            live.resize(size);
            label.resize(size);
            EXPECT_EQ(PaintedWhole(&live), PaintedWhole(&label))
                << text.toStdString() << " aligned " << int(alignment);
        }
    }
}

// A change repaints only what it touches, over the picture of the backdrop:
// after each, at once or at the next paint, the screen shows what a whole
// paint of the text shows. Among the changes: digits changing in place, a
// text growing and shrinking, and one too wide for the control and back.
TEST_F(DialogTest, ALiveTextShowsEveryChangeOnScreen) {
    dlg->show();
    QWidget* clock = dlg->GetDlgItem(IDC_CLOCK);
    clock->hide(); // it would go on changing
    LiveText live(QStringLiteral("RX"), Qt::AlignTop | Qt::AlignLeft, dlg.get());
    live.setGeometry(clock->geometry());
    live.show();
    live.TakeBackdrop();
    DrainEvents();
    const QStringList changes = {"12:34:56:789", "12:34:56:799", "12:34:57:000", "1",
                                 kTexts.back(),  "30",           "鑫",           "31"};
    bool now = false;
    for (const QString& text : changes) {
        if (now)
            live.SetTextNow(text);
        else
            live.SetText(text);
        DrainEvents();
        EXPECT_EQ(ShownOnScreen(dlg.get(), &live), PaintedWhole(&live)) << text.toStdString();
        now = !now;
    }
}
