#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include "resources/Resource.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// The last paragraph is laid out up to its last character.
bool LaidOutToTheEnd(const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0)
        return false;
    const QTextLine tail = layout->lineAt(layout->lineCount() - 1);
    return tail.textStart() + tail.textLength() == block.length() - 1;
}

struct BoxCase {
    const char* name;
    bool hex;
    int readings;
    friend void PrintTo(const BoxCase& row, std::ostream* os) { *os << row.name; }
};

} // namespace

class ReceiveBoxTest : public DialogTest, public ::testing::WithParamInterface<BoxCase> {};

// Appends are laid out once per frame: the box must still come to show all
// of its text, with the caret at the end and the end in view.
TEST_P(ReceiveBoxTest, SettlesOnTheWholeTextWithItsEndInView) {
    const BoxCase& c = GetParam();
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 4);
    if (c.hex)
        Click(IDC_RECVMODE);
    for (int i = 0; i < c.readings; ++i)
        comm->Receive("25.50");

    QPlainTextEdit* box = dlg->m_editRecv;
    const QTextDocument* document = box->document();
    EXPECT_EQ(document->blockCount(), 1);
    ASSERT_TRUE(WaitUntil([&] {
        return box->textCursor().position() == document->characterCount() - 1 &&
               LaidOutToTheEnd(document->lastBlock());
    }));
    DrainEvents();
    const QScrollBar* bar = box->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

INSTANTIATE_TEST_SUITE_P(Modes, ReceiveBoxTest,
                         ::testing::Values(BoxCase{"Text", false, 1900}, BoxCase{"Hex", true, 600}),
                         [](const auto& row) { return std::string(row.param.name); });
