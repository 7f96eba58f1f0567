#include "e2e/DialogOnBoard.h"

#include "resources/Resource.h"
#include "serial/QtCommControl.h"
#include "support/WaitUntil.h"

void DialogOnBoard::SetUp() {
    DialogTest::SetUp();
    // After the dialog's own handler, which has just read Input.
    QObject::connect(control, &CommControl::OnComm, dlg.get(), [this] {
        ++events;
        if (control->GetCommEvent() == CommControl::comEvReceive)
            reads.push_back(dlg->m_pRxData);
    });
}

std::unique_ptr<CommControl> DialogOnBoard::MakeControl() {
    auto real = std::make_unique<QtCommControl>();
    control = real.get();
    return real;
}

void DialogOnBoard::Plug(const BoardOptions& options) {
    board = std::make_unique<Board>(options, [](const QString&) {});
}

void DialogOnBoard::Open(int respBytes) {
    Select(IDC_RESPBYTES, respBytes - 1);
    Click(IDC_OPEN);
    ASSERT_EQ(Text(IDC_OPEN), "关闭串口");
    ASSERT_TRUE(boxes.empty()) << boxes[0].text.toStdString();
}

void DialogOnBoard::Acquire(size_t receptions) {
    Click(IDC_ACQUIRE);
    const size_t target = reads.size() + receptions;
    ASSERT_TRUE(WaitUntil([&] { return reads.size() >= target; }));
}

void DialogOnBoard::StopAndDrain() {
    Click(IDC_ACQUIRE);
    ASSERT_TRUE(WaitUntil([&] { return !board->IsSending(); }));
    ASSERT_TRUE(WaitUntil([&] {
        qsizetype read = 0;
        for (const QByteArray& bytes : reads)
            read += bytes.size();
        return read == board->Sent().size();
    }));
}

QByteArray DialogOnBoard::ExpectedCapture(int respBytes) const {
    QByteArray capture;
    for (const QByteArray& read : reads) {
        const QByteArray kept = read.left(respBytes);
        capture += kept.left(kept.indexOf('\0') < 0 ? kept.size() : kept.indexOf('\0'));
    }
    return capture;
}
