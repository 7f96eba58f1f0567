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

#include <functional>
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
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

// The last block is laid out up to its last character.
bool LaidOutToTheEnd(const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0)
        return false;
    const QTextLine tail = layout->lineAt(layout->lineCount() - 1);
    return tail.textStart() + tail.textLength() == block.length() - 1;
}

// The position at column of the visual line, counted from the top.
int PositionAt(QPlainTextEdit* box, int line, int column) {
    for (QTextBlock block = box->document()->firstBlock(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (line < layout->lineCount())
            return block.position() + layout->lineAt(line).textStart() + column;
        line -= layout->lineCount();
    }
    return -1;
}

void SelectText(QPlainTextEdit* box, int from, int to) {
    QTextCursor cursor(box->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

// A plain box of the same size and font as box, holding its text as single
// paragraphs.
std::unique_ptr<QPlainTextEdit> SingleParagraphs(MultilineEdit* box) {
    auto plain = std::make_unique<QPlainTextEdit>();
    plain->setFont(box->font());
    plain->setFrameStyle(box->frameStyle());
    plain->setVerticalScrollBarPolicy(box->verticalScrollBarPolicy());
    plain->setLineWrapMode(box->lineWrapMode());
    plain->setWordWrapMode(box->wordWrapMode());
    plain->resize(box->size());
    plain->setPlainText(box->toPlainText());
    plain->show();
    return plain;
}

struct FillCase {
    const char* name;
    bool hex;
    std::vector<QByteArray> reads; // repeated in turn, count times
    int count;
    QString shown; // what the reads show, once round
    int settleEvery;
    friend void PrintTo(const FillCase& row, std::ostream* os) { *os << row.name; }
};

const FillCase kReadings{"Readings", false, {"25.50"}, 700, "25.50", 1};

} // namespace

class ReceiveBoxTest : public DialogTest {
protected:
    MultilineEdit* Box() const { return dlg->m_editRecv; }

    // Receives the reads as a board sends them, with the box settling every
    // so many, as frames would come between them.
    void Fill(const FillCase& c) {
        dlg->show();
        OpenPort();
        Select(IDC_RESPBYTES, 14);
        if (c.hex)
            Click(IDC_RECVMODE);
        for (int i = 0; i < c.count; ++i) {
            comm->Receive(c.reads[std::size_t(i) % c.reads.size()]);
            if ((i + 1) % c.settleEvery == 0)
                Box()->Settle();
        }
        Box()->Settle();
        ASSERT_EQ(Box()->toPlainText(), c.shown.repeated(c.count / qsizetype(c.reads.size())));
    }
};

class ReceiveBoxFill : public ReceiveBoxTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(ReceiveBoxFill, WrapsAsSingleParagraphsWould) {
    Fill(GetParam());
    const auto plain = SingleParagraphs(Box());
    ASSERT_EQ(plain->viewport()->width(), Box()->viewport()->width());
    EXPECT_EQ(VisualLines(Box()), VisualLines(plain.get()));

    // The blocks were split where lines wrapped at this width in this font.
    for (const auto& change : {std::function<void(QWidget*)>([](QWidget* box) {
                                   QFont font = box->font();
                                   font.setPointSize(font.pointSize() + 3);
                                   box->setFont(font);
                               }),
                               std::function<void(QWidget*)>([](QWidget* box) {
                                   box->resize(box->width() - 37, box->height());
                               })}) {
        change(Box());
        change(plain.get());
        EXPECT_EQ(VisualLines(Box()), VisualLines(plain.get()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reads, ReceiveBoxFill,
    ::testing::Values(
        kReadings, FillCase{"HexPairs", true, {"25.50"}, 260, "32 35 2E 35 30 ", 3},
        FillCase{"Words", false, {"ab cd", "e fgh i", "jklmnop "}, 240, "ab cde fgh ijklmnop ", 2},
        FillCase{"NoBreakOpportunity", false, {"0123456789abcde"}, 90, "0123456789abcde", 1},
        FillCase{"LongLinesBetweenBreaks",
                 false,
                 {"0123456789", "abcdefghij", "klmnopqrst", "uvwxyz ABC", "DEF\r\n"},
                 200,
                 "0123456789abcdefghijklmnopqrstuvwxyz ABCDEF\n",
                 1},
        FillCase{"GbkLines", false, {"\xCE\xC2\xB6\xC8 25.5\xA1\xE6\r\n"}, 60, "温度 25.5℃\n", 1}),
    [](const auto& row) { return std::string(row.param.name); });

struct Selection {
    const char* name;
    int fromLine, fromColumn, toLine, toColumn; // a column of -1: the end of the line
};

class ReceiveBoxCopy : public ReceiveBoxTest, public ::testing::WithParamInterface<Selection> {};

TEST_P(ReceiveBoxCopy, GivesTheTextAsReceived) {
    const Selection& s = GetParam();
    Fill(kReadings);
    ASSERT_GT(Box()->document()->blockCount(), 10) << "the paragraph is kept in blocks";
    const auto plain = SingleParagraphs(Box());
    const QStringList lines = VisualLines(Box());
    const auto column = [&](int line, int col) { return col < 0 ? int(lines[line].size()) : col; };
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(Box()), plain.get()}) {
        SelectText(box, PositionAt(box, s.fromLine, column(s.fromLine, s.fromColumn)),
                   PositionAt(box, s.toLine, column(s.toLine, s.toColumn)));
        box->copy();
    }
    // The second copy is the plain box's; copy the box's again to compare.
    const QString fromPlain = QGuiApplication::clipboard()->text();
    Box()->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), fromPlain);
    EXPECT_FALSE(fromPlain.contains(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(Selections, ReceiveBoxCopy,
                         ::testing::Values(Selection{"WithinALine", 2, 1, 2, 6},
                                           Selection{"AcrossOneWrap", 3, 5, 4, 2},
                                           Selection{"LineStartToLineStart", 2, 0, 6, 0},
                                           Selection{"LineEndToLineEnd", 2, -1, 7, -1},
                                           Selection{"Everything", 0, 0, 25, -1}),
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
    const auto plain = SingleParagraphs(Box());
    const QStringList lines = VisualLines(Box());
    const int column = k.column < 0 ? int(lines[k.line].size()) : k.column;
    for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(Box()), plain.get()}) {
        SelectText(box, PositionAt(box, k.line, column), PositionAt(box, k.line, column));
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
    ::testing::Values(
        KeyCase{"TypeAtALineStart", 3, 0, {}, "xy"},
        KeyCase{"EnterAtALineStart", 3, 0, {{Qt::Key_Return, {}}}, ""},
        KeyCase{"EnterMidLine", 3, 2, {{Qt::Key_Return, {}}}, "z"},
        KeyCase{
            "BackspaceAtALineStart", 3, 0, {{Qt::Key_Backspace, {}}, {Qt::Key_Backspace, {}}}, ""},
        KeyCase{"DeleteAtALineEnd", 3, -1, {{Qt::Key_Delete, {}}}, ""},
        KeyCase{"SelectAcrossTheWrapAndType",
                3,
                -1,
                {{Qt::Key_Left, {}},
                 {Qt::Key_Right, Qt::ShiftModifier},
                 {Qt::Key_Right, Qt::ShiftModifier},
                 {Qt::Key_Right, Qt::ShiftModifier}},
                "q"}),
    [](const auto& row) { return std::string(row.param.name); });

struct EmptyCase {
    const char* name;
    bool rollOver; // else clear display
};

class ReceiveBoxEmpties : public ReceiveBoxTest, public ::testing::WithParamInterface<EmptyCase> {};

TEST_P(ReceiveBoxEmpties, AndTheNextReadingStandsAlone) {
    Fill(kReadings);
    if (GetParam().rollOver) {
        dlg->m_nRxCount = 9999;
        comm->Receive("25.50");
    } else {
        Click(IDC_CLEAR);
    }
    EXPECT_EQ(Box()->toPlainText(), "");
    EXPECT_EQ(Box()->document()->blockCount(), 1);
    comm->Receive("26.00");
    Box()->Settle();
    EXPECT_EQ(VisualLines(Box()), QStringList{"26.00"});
}

INSTANTIATE_TEST_SUITE_P(Ways, ReceiveBoxEmpties,
                         ::testing::Values(EmptyCase{"ClearDisplay", false},
                                           EmptyCase{"RollOver", true}),
                         [](const auto& row) { return std::string(row.param.name); });

class ReceiveBoxFrames : public ReceiveBoxTest, public ::testing::WithParamInterface<bool> {};

// Appends are laid out at the next frame: with the event loop running, the
// box comes to show all of its text, with the caret and the view at the end.
TEST_P(ReceiveBoxFrames, EndInViewAfterEachBatch) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 4);
    if (GetParam())
        Click(IDC_RECVMODE);
    QPlainTextEdit* box = Box();
    const QScrollBar* bar = box->verticalScrollBar();
    for (int batch = 0; batch < 8; ++batch) {
        SCOPED_TRACE(batch);
        for (int i = 0; i < 60; ++i)
            comm->Receive("25.50");
        const QString shown = Box()->toPlainText();
        ASSERT_TRUE(WaitUntil([&] {
            return LaidOutToTheEnd(box->document()->lastBlock()) && box->textCursor().atEnd() &&
                   box->viewport()->rect().contains(box->cursorRect());
        }));
        EXPECT_EQ(Box()->toPlainText(), shown);
        EXPECT_EQ(bar->value(), bar->maximum());
    }
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_GT(box->document()->blockCount(), 1) << "the frames kept the paragraph in blocks";
}

INSTANTIATE_TEST_SUITE_P(Modes, ReceiveBoxFrames, ::testing::Bool(),
                         [](const auto& row) { return std::string(row.param ? "Hex" : "Text"); });

// A frame repaints only what the appends added: after each, what the window
// shows of the box must be what a full paint of it shows.
TEST_P(ReceiveBoxFrames, RepaintWhatAFullPaintWouldShow) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 4);
    if (GetParam())
        Click(IDC_RECVMODE);
    QWidget* viewport = Box()->viewport();
    for (int step = 0; step < 24; ++step) {
        SCOPED_TRACE(step);
        // Words of a few lengths, so that some carry over to the next line.
        for (int i = 0; i <= step % 4; ++i)
            comm->Receive(QByteArray::number(20 + step).append(step % 3 ? ".5" : " "));
        DrainEvents();
        const QPoint at = viewport->mapTo(dlg.get(), QPoint());
        const QImage shown =
            QGuiApplication::primaryScreen()
                ->grabWindow(dlg->winId(), at.x(), at.y(), viewport->width(), viewport->height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == viewport->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}
