#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include "resources/Resource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <memory>

// The receive box keeps long paragraphs in blocks of a line each, split where
// they wrap. Everything here compares it with a plain box holding the same
// text as single paragraphs: it must look, copy and edit the same.

namespace {

// The lines the box shows, from the top.
QStringList VisualLines(QPlainTextEdit* box) {
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

// The position at column of the visual line, counted from the top; a column
// of -1 is the end of the line.
int PositionAt(QPlainTextEdit* box, int line, int column) {
    if (column < 0)
        column = int(VisualLines(box).value(line).size());
    for (QTextBlock block = box->document()->firstBlock(); block.isValid(); block = block.next()) {
        if (line < block.layout()->lineCount())
            return block.position() + block.layout()->lineAt(line).textStart() + column;
        line -= block.layout()->lineCount();
    }
    return -1;
}

void SetCaret(QPlainTextEdit* box, int from, int to) {
    QTextCursor cursor(box->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

struct FillCase {
    const char* name;
    bool hex;
    std::vector<QByteArray> reads; // repeated in turn, count times
    int count;
    QString shown; // what the reads show, once round
    int settleEvery;
};

const FillCase kReadings{"Readings", false, {"25.50"}, 700, "25.50", 1};

} // namespace

class ReceiveBoxTest : public DialogTest {
protected:
    MultilineEdit* Box() const { return static_cast<MultilineEdit*>(dlg->GetDlgItem(IDC_RECV)); }

    // Receives the reads as a board sends them, with the box settling every
    // so many, as frames would come between them; then a plain box of the
    // same size and font with the same text as single paragraphs.
    void Fill(const FillCase& c) {
        dlg->show();
        OpenPort();
        if (c.hex)
            Click(IDC_RECVMODE);
        for (int i = 0; i < c.count; ++i) {
            const QByteArray& read = c.reads[std::size_t(i) % c.reads.size()];
            Select(IDC_RESPBYTES, int(read.size()) - 1);
            comm->Receive(read);
            if ((i + 1) % c.settleEvery == 0)
                Box()->Settle();
        }
        Box()->Settle();
        ASSERT_EQ(Box()->toPlainText(), c.shown.repeated(c.count / qsizetype(c.reads.size())));
        plain = std::make_unique<QPlainTextEdit>();
        plain->setFont(Box()->font());
        plain->setFrameStyle(Box()->frameStyle());
        plain->setVerticalScrollBarPolicy(Box()->verticalScrollBarPolicy());
        plain->setWordWrapMode(Box()->wordWrapMode());
        plain->resize(Box()->size());
        plain->setPlainText(Box()->toPlainText());
        plain->show();
        ASSERT_EQ(plain->viewport()->width(), Box()->viewport()->width());
    }
    std::unique_ptr<QPlainTextEdit> plain;
};

class ReceiveBoxFill : public ReceiveBoxTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(ReceiveBoxFill, WrapsAndCopiesAsSingleParagraphs) {
    Fill(GetParam());
    EXPECT_GT(Box()->document()->blockCount(), 5) << "the paragraphs are kept in blocks";
    EXPECT_EQ(VisualLines(Box()), VisualLines(plain.get()));
    const int lines[][4] = {
        {2, 1, 2, 6}, {3, 5, 4, 2}, {2, 0, 6, 0}, {2, -1, 7, -1}, {0, 0, 9, -1}};
    for (const auto& s : lines) {
        SCOPED_TRACE(testing::PrintToString(s));
        QString copied[2];
        for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(Box()), plain.get()}) {
            SetCaret(box, PositionAt(box, s[0], s[1]), PositionAt(box, s[2], s[3]));
            box->copy();
            copied[box == plain.get()] = QGuiApplication::clipboard()->text();
        }
        EXPECT_EQ(copied[0], copied[1]);
    }
    // The blocks were split where lines wrapped at this width in this font.
    QFont font = Box()->font();
    font.setPointSize(font.pointSize() + 3);
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(Box()), plain.get()})
        box->setFont(font);
    EXPECT_EQ(VisualLines(Box()), VisualLines(plain.get()));
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(Box()), plain.get()})
        box->resize(box->width() - 37, box->height());
    EXPECT_EQ(VisualLines(Box()), VisualLines(plain.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Reads, ReceiveBoxFill,
    ::testing::Values(
        kReadings, FillCase{"HexPairs", true, {"25.50"}, 260, "32 35 2E 35 30 ", 3},
        FillCase{"Words", false, {"ab cd", "e fgh i", "jklmnop "}, 240, "ab cde fgh ijklmnop ", 2},
        FillCase{"LongLinesBetweenBreaks",
                 false,
                 {"0123456789", "abcdefghij", "klmnopqrst", "uvwxyz ABC", "DEF\r\n"},
                 200,
                 "0123456789abcdefghijklmnopqrstuvwxyz ABCDEF\n",
                 1},
        FillCase{"GbkLines", false, {"\xCE\xC2\xB6\xC8 25.5\xA1\xE6\r\n"}, 60, "温度 25.5℃\n", 1}),
    [](const auto& row) { return std::string(row.param.name); });

struct KeyCase {
    const char* name;
    int line, column; // where the caret is put; a column of -1: the end of the line
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    const char* typed;
};

class ReceiveBoxKeys : public ReceiveBoxTest, public ::testing::WithParamInterface<KeyCase> {};

// The user edits the paragraphs as received, whatever blocks hold them, and
// the readings that follow go on at the end.
TEST_P(ReceiveBoxKeys, EditAsInSingleParagraphs) {
    const KeyCase& k = GetParam();
    Fill(kReadings);
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(Box()), plain.get()}) {
        const int at = PositionAt(box, k.line, k.column);
        SetCaret(box, at, at);
        for (const auto& [key, modifiers] : k.keys)
            QTest::keyClick(box, key, modifiers);
        QTest::keyClicks(box, QString::fromLatin1(k.typed));
    }
    EXPECT_EQ(Box()->toPlainText(), plain->toPlainText());
    EXPECT_EQ(VisualLines(Box()), VisualLines(plain.get()));
    comm->Receive("26.00");
    Box()->Settle();
    EXPECT_EQ(Box()->toPlainText(), plain->toPlainText() + "26.00");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReceiveBoxKeys,
    ::testing::Values(KeyCase{"TypeAtALineStart", 3, 0, {}, "xy"},
                      KeyCase{"EnterMidLine", 3, 2, {{Qt::Key_Return, {}}}, "z"},
                      KeyCase{"BackspaceAtALineStart", 3, 0, {{Qt::Key_Backspace, {}}}, ""},
                      KeyCase{"DeleteAtALineEnd", 3, -1, {{Qt::Key_Delete, {}}}, ""},
                      KeyCase{"SelectAcrossTheWrapAndType",
                              3,
                              -1,
                              {{Qt::Key_Left, {}},
                               {Qt::Key_Right, Qt::ShiftModifier},
                               {Qt::Key_Right, Qt::ShiftModifier}},
                              "q"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ReceiveBoxTest, ClearedBoxStartsAfresh) {
    Fill(kReadings);
    Click(IDC_CLEAR);
    EXPECT_EQ(Box()->document()->blockCount(), 1);
    comm->Receive("26.00");
    Box()->Settle();
    EXPECT_EQ(VisualLines(Box()), QStringList{"26.00"});
}

class ReceiveBoxFrames : public ReceiveBoxTest, public ::testing::WithParamInterface<bool> {};

// Appends are laid out at the next frame, which repaints only what they
// added: after each, the window shows what a full paint of the box shows,
// the whole text laid out, with the caret and the view at the end.
TEST_P(ReceiveBoxFrames, ShowTheEndAsAFullPaintWould) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 3);
    if (GetParam())
        Click(IDC_RECVMODE);
    QWidget* viewport = Box()->viewport();
    const QScrollBar* bar = Box()->verticalScrollBar();
    for (int step = 0; step < 24; ++step) {
        SCOPED_TRACE(step);
        // Words of a few lengths, so that some carry over to the next line.
        for (int i = 0; i <= step % 4 * 5; ++i)
            comm->Receive(QByteArray::number(20 + step).append(step % 3 ? ".5" : "  "));
        ASSERT_TRUE(WaitUntil([&] {
            const QTextBlock last = Box()->document()->lastBlock();
            const QTextLine tail = last.layout()->lineAt(last.layout()->lineCount() - 1);
            return tail.isValid() && tail.textStart() + tail.textLength() == last.length() - 1 &&
                   Box()->textCursor().atEnd() && viewport->rect().contains(Box()->cursorRect());
        }));
        DrainEvents();
        EXPECT_EQ(bar->value(), bar->maximum());
        const QPoint at = viewport->mapTo(dlg.get(), QPoint());
        const QImage shown =
            QGuiApplication::primaryScreen()
                ->grabWindow(dlg->winId(), at.x(), at.y(), viewport->width(), viewport->height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == viewport->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_GT(bar->maximum(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReceiveBoxFrames, ::testing::Bool(),
                         [](const auto& row) { return std::string(row.param ? "Hex" : "Text"); });
