#include "support/DialogFixture.h"
#include "support/ShownOnScreen.h"
#include "support/WaitUntil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

// The receive box keeps long paragraphs in blocks of a line each, split where
// they wrap. It must look and copy as a plain box that holds the same text as
// single paragraphs, and show the end of what came as a full paint would.

namespace {

// The lines the box shows, from the top.
QStringList Lines(QPlainTextEdit* box) {
    QStringList lines;
    for (QTextBlock block = box->document()->firstBlock(); block.isValid(); block = block.next()) {
        box->document()->documentLayout()->blockBoundingRect(block); // lays it out
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

// Whether the window shows what a full paint of the control inside it shows.
bool ShownAsPainted(QWidget* window, QWidget* control) {
    return ShownOnScreen(window, control) == PaintedWhole(control);
}

} // namespace

TEST_F(DialogTest, ReceiveBoxWrapsAndCopiesAsSingleParagraphs) {
    // Hexadecimal; the reads, in turn, count times, settling every so many; what they show once
    // round.
    const std::tuple<bool, std::vector<QByteArray>, int, int, QString> rows[] = {
        {false, {"25.50"}, 700, 1, "25.50"},
        {true, {"25.50"}, 260, 3, "32 35 2E 35 30 "},
        {false, {"ab cd", "e fgh i", "jklmnop "}, 240, 2, "ab cde fgh ijklmnop "},
        {false, {"0123456789abcde", "fghij k", "AB\r\n"}, 150, 1, "0123456789abcdefghij kAB\n"},
        {false, {"\xCE\xC2\xB6\xC8 25.5\xA1\xE6\r\n"}, 60, 1, "温度 25.5℃\n"}};
    for (const auto& [hex, reads, count, settleEvery, shown] : rows) {
        SCOPED_TRACE(shown.toStdString());
        TearDown();
        SetUp();
        dlg->show();
        OpenPort();
        if (hex)
            Click(IDC_RECVMODE);
        auto* box = static_cast<MultilineEdit*>(dlg->GetDlgItem(IDC_RECV));
        for (int i = 0; i < count; ++i) {
            const QByteArray& read = reads[std::size_t(i) % reads.size()];
            Select(IDC_RESPBYTES, int(read.size()) - 1);
            comm->Receive(read);
            if ((i + 1) % settleEvery == 0)
                box->Settle();
        }
        box->Settle();
        EXPECT_EQ(box->toPlainText(), shown.repeated(count / qsizetype(reads.size())));
        EXPECT_GT(box->document()->blockCount(), 5) << "the paragraphs are kept in blocks";
        QPlainTextEdit plain;
        plain.setFont(box->font());
        plain.setFrameStyle(box->frameStyle());
        plain.setWordWrapMode(box->wordWrapMode());
        plain.resize(box->size());
        plain.setVerticalScrollBarPolicy(box->verticalScrollBarPolicy());
        plain.setPlainText(box->toPlainText());
        plain.show();
        EXPECT_EQ(Lines(box), Lines(&plain));
        // Copied from a line's start to another's, three lines across wraps (by no key,
        // which would join the blocks).
        QString copied[2];
        for (QPlainTextEdit* edit : {static_cast<QPlainTextEdit*>(box), &plain}) {
            QTextCursor cursor(edit->document());
            cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 2);
            cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
            edit->setTextCursor(cursor);
            edit->copy();
            copied[edit == &plain] = QGuiApplication::clipboard()->text();
        }
        EXPECT_EQ(copied[0], copied[1]);
        for (const bool bigger : {true, false}) { // a larger font, then a narrower box
            for (QPlainTextEdit* edit : {static_cast<QPlainTextEdit*>(box), &plain})
                bigger ? edit->setFont(QFont(edit->font().family(), edit->font().pointSize() + 3))
                       : edit->resize(edit->width() - 37, edit->height());
            EXPECT_EQ(Lines(box), Lines(&plain));
        }
        Click(IDC_CLEAR);
        Select(IDC_RESPBYTES, int(reads[0].size()) - 1);
        comm->Receive(reads[0]);
        box->Settle();
        EXPECT_EQ(box->document()->blockCount(), box->toPlainText().count('\n') + 1);
        EXPECT_EQ(Text(IDC_RXCOUNT), QString::number(reads[0].size()));
        // Receptions are no edit of the user's: undo takes none of them back.
        const QString received = box->toPlainText();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box->toPlainText(), received);
    }
}

// Appends are laid out in their frame, the clock's tick, which repaints only
// what they added: after each, the window shows what a full paint of the box
// shows, the whole text laid out, with the caret and the view at the end,
// also where the user had put the caret elsewhere or selected text.
TEST_F(DialogTest, ReceiveBoxFramesShowTheEndAsAFullPaintWould) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 3);
    auto* box = static_cast<QPlainTextEdit*>(dlg->GetDlgItem(IDC_RECV));
    QWidget* viewport = box->viewport();
    for (int step = 0; step < 24; ++step) {
        if (step == 12) // and on in hexadecimal
            Click(IDC_RECVMODE);
        if (step == 6) {
            QTextCursor atStart = box->textCursor();
            atStart.setPosition(0);
            box->setTextCursor(atStart);
        } else if (step == 18) {
            box->selectAll();
        }
        // Words of a few lengths, so that some carry over to the next line.
        for (int i = 0; i <= step % 4 * 5; ++i)
            comm->Receive(QByteArray::number(20 + step).append(step % 3 ? ".5" : "  "));
        ASSERT_TRUE(WaitUntil([&] {
            return box->textCursor().atEnd() && !box->textCursor().hasSelection() &&
                   viewport->rect().contains(box->cursorRect());
        }));
        DrainEvents();
        EXPECT_TRUE(ShownAsPainted(dlg.get(), viewport));
    }
}

// Listeners of the box's text (assistive tools, through the box) are told
// what came as text inserted at the end, all of it and as the user would copy
// it: the soft breaks are not text.
TEST_F(DialogTest, ReceivedTextIsToldAsInserted) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 4);
    auto* box = static_cast<MultilineEdit*>(dlg->GetDlgItem(IDC_RECV));
    QString told;
    QObject::connect(box->document(), &QTextDocument::contentsChange,
                     [&](int from, int removed, int added) {
                         EXPECT_EQ(removed, 0);
                         QTextCursor inserted(box->document());
                         inserted.setPosition(from);
                         inserted.setPosition(from + added, QTextCursor::KeepAnchor);
                         told += inserted.selectedText();
                     });
    for (int i = 0; i < 200; ++i) {
        comm->Receive(i % 50 ? "25.50" : "26.0\n");
        if (i % 3 == 0)
            box->Settle();
    }
    box->Settle();
    EXPECT_GT(box->document()->blockCount(), 10) << "the box keeps soft breaks";
    EXPECT_EQ(told.replace(QChar::ParagraphSeparator, u'\n'), box->toPlainText());
}

// The scroll bar repaints when the slider moves, not at every line: on screen
// it shows what a full paint of it shows, and once the slider is as short as
// it gets, following the end leaves it where it is.
TEST_F(DialogTest, ReceiveBoxScrollBarShowsWhereTheViewIs) {
    dlg->show();
    OpenPort();
    Click(IDC_RECVMODE);
    Select(IDC_RESPBYTES, 4);
    auto* box = static_cast<MultilineEdit*>(dlg->GetDlgItem(IDC_RECV));
    QScrollBar* bar = box->verticalScrollBar();
    const auto receiveAndTick = [&] {
        comm->Receive("25.50");
        box->Settle();
        const QString clock = Text(IDC_CLOCK);
        ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK) != clock; })); // a tick painted
    };
    for (int i = 0; i < 40; ++i) {
        receiveAndTick();
        ASSERT_TRUE(ShownAsPainted(dlg.get(), bar)) << "after " << bar->maximum() << " lines";
    }
    // The user drags the slider to the top, between readings.
    bar->setValue(0);
    DrainEvents();
    EXPECT_TRUE(ShownAsPainted(dlg.get(), bar)) << "scrolled by the user";
    for (int i = 0; i < 300; ++i) {
        comm->Receive("25.50");
        box->Settle();
    }
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    bar->installEventFilter(&counter);
    const int linesBefore = bar->maximum();
    for (int i = 0; i < 60; ++i)
        receiveAndTick();
    bar->removeEventFilter(&counter);
    const int lines = bar->maximum() - linesBefore;
    EXPECT_GT(lines, 10);
    EXPECT_LT(counter.paints, lines / 2) << "of " << lines << " lines";
}
