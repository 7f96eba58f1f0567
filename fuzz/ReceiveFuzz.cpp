// The whole receive path of the real dialog over the recording control:
// arbitrary reads at any response count 1 to 15, in either display mode,
// with clear, stop, mode switches, curve mode and other events between
// them, and the user typing into either box and sending. After every read
// the counter, its label and the capture must be what the rules make of
// the bytes, and the box must stay bounded.
#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"

#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/MessageBox.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

// What the dialog must hold, by the rules rather than by its code.
struct Model {
    int count = 0;
    QByteArray capture;

    void Read(const QByteArray& read, int respBytes) {
        QByteArray chunk = read.left(std::min<qsizetype>(respBytes, read.size()));
        if (const qsizetype zero = chunk.indexOf('\0'); zero >= 0)
            chunk.truncate(zero);
        count += int(chunk.size());
        capture += chunk;
        if (count > 10000) {
            count = 0;
            capture = chunk;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The offscreen platform warns about every window feature it lacks.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtWarningMsg && type != QtInfoMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    // A message box would wait for a click that never comes.
    SetMessageBoxHook([](const MessageBoxCall&) {});
    // Never destroyed: libFuzzer leaves through exit(), after Qt's own
    // statics may have gone.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // The program-wide state as a new process has it.
    g_bPortOpen = false;
    g_bShowRecv = 1;
    auto control = std::make_unique<FakeCommControl>();
    FakeCommControl* comm = control.get();
    CSerialDlg dlg(std::move(control));
    dlg.Create();
    ClickItem(dlg, IDC_OPEN);
    Require(g_bPortOpen);
    SelectItem(dlg, IDC_RESPBYTES, input.ConsumeIntegralInRange(0, 14));

    Model model;
    qsizetype typed = 0;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 19)) {
        case 0:
            ClickItem(dlg, IDC_CLEAR);
            model.count = 0;
            break;
        case 1:
            ClickItem(dlg, IDC_STOPDISP);
            break;
        case 2:
            ClickItem(dlg, IDC_RECVMODE);
            break;
        case 3:
            ClickItem(dlg, IDC_CURVE);
            break;
        case 4:
            SelectItem(dlg, IDC_RESPBYTES, input.ConsumeIntegralInRange(0, 14));
            break;
        case 5:
            comm->RaiseEvent(input.ConsumeIntegral<short>());
            break;
        case 6:
            // Close to the roll-over, so that short inputs reach it.
            model.count = dlg.m_nRxCount = 10000 - input.ConsumeIntegralInRange(0, 20);
            break;
        case 7: {
            // Typing into the receive box, anywhere, between receptions.
            const QString text = QString::fromStdString(input.ConsumeRandomLengthString(8));
            QTextCursor cursor = dlg.m_editRecv->textCursor();
            cursor.setPosition(input.ConsumeIntegralInRange<int>(
                0, dlg.m_editRecv->document()->characterCount() - 1));
            dlg.m_editRecv->setTextCursor(cursor);
            dlg.m_editRecv->insertPlainText(text);
            typed += text.size();
            break;
        }
        case 8:
            dlg.m_editSend->setPlainText(
                QString::fromStdString(input.ConsumeRandomLengthString(24)));
            ClickItem(dlg, IDC_SEND);
            break;
        case 9:
            ClickItem(dlg, IDC_SENDMODE);
            break;
        case 10: {
            // The box lays out what was appended, as at a frame; the blocks
            // it keeps long paragraphs in are no part of its text.
            const QString shown = dlg.m_editRecv->toPlainText();
            dlg.m_editRecv->Settle();
            Require(dlg.m_editRecv->toPlainText() == shown);
            break;
        }
        default: {
            const std::vector<char> bytes =
                input.ConsumeBytes<char>(input.ConsumeIntegralInRange<size_t>(0, 40));
            const QByteArray read(bytes.data(), qsizetype(bytes.size()));
            comm->Receive(read);
            Require(comm->waiting.isEmpty());
            if (read.isEmpty())
                break;
            model.Read(read, dlg.m_nRespBytes);
            Require(dlg.m_nRxCount == model.count);
            Require(dlg.GetItemText(IDC_RXCOUNT) == QString::number(model.count));
            Require(dlg.m_strRecv == model.capture);
            break;
        }
        }
        Require(dlg.m_nRespBytes >= 1 && dlg.m_nRespBytes <= 15);
        // At most three characters for each byte counted since the box was
        // emptied, and what the user typed.
        Require(dlg.m_editRecv->toPlainText().size() <= 3 * (10000 + 15) + typed);
    }
    QApplication::processEvents();
    return 0;
}
