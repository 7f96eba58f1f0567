// The whole receive path of the real dialog over a control that raises the
// receive event as the real one does, only once at least RThreshold bytes
// wait: arbitrary arrivals at any response count 1 to 15, in either display
// mode, with clear, stop, mode switches, curve mode and other events between
// them, and the user typing into either box and sending. After every event
// the counters must be what the rules make of the bytes, and the box must
// stay bounded; at the end, the saved capture must be what was counted.
// Streams long enough to roll the counter over need -max_len of some 12 kB.
#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"

#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QFile>
#include <QTextCursor>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

// What the dialog must hold, by the rules rather than by its code.
struct Model {
    int respBytes = 1;
    int count = 0;
    QString label = QStringLiteral("RX"); // the counter's caption until the first count
    QByteArray capture;

    void Read(const QByteArray& read) {
        QByteArray chunk = read.left(respBytes);
        if (const qsizetype zero = chunk.indexOf('\0'); zero >= 0)
            chunk.truncate(zero);
        count += int(chunk.size());
        capture += chunk;
        if (count > 10000) {
            count = 0;
            capture = chunk;
        }
        label = QString::number(count);
    }
};

const QString& CapturePath() {
    static const QString path =
        QStringLiteral("/tmp/fuzz-Receive-%1.txt").arg(QCoreApplication::applicationPid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The offscreen platform warns about every window feature it lacks.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtWarningMsg && type != QtInfoMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    // A message box would wait for a click that never comes, and so would
    // the save dialog: it answers with a scratch file.
    SetMessageBoxHook([](const MessageBoxCall&) {});
    SetSaveFileHook([](const SaveFileRequest&) { return std::optional<QString>(CapturePath()); });
    // Never destroyed: libFuzzer leaves through exit(), after Qt's own
    // statics may have gone.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    ResetGlobals();
    auto control = std::make_unique<FakeCommControl>();
    FakeCommControl* comm = control.get();
    int events = 0;
    QObject::connect(comm, &CommControl::OnComm, [&events] { ++events; });
    CSerialDlg dlg(std::move(control));
    dlg.Create();
    auto* recv = qobject_cast<MultilineEdit*>(dlg.GetDlgItem(IDC_RECV));
    auto* send = qobject_cast<MultilineEdit*>(dlg.GetDlgItem(IDC_SENDTEXT));
    Model model;
    const auto selectRespBytes = [&](int index) {
        SelectItem(dlg, IDC_RESPBYTES, index);
        model.respBytes = index + 1;
    };
    ClickItem(dlg, IDC_OPEN);
    Require(dlg.GetItemText(IDC_OPEN) == QStringLiteral("关闭串口"));
    selectRespBytes(input.ConsumeIntegralInRange(0, 14));

    qsizetype typed = 0;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 18)) {
        case 0:
            ClickItem(dlg, IDC_CLEAR);
            model.count = 0;
            model.label = QStringLiteral("0");
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
            selectRespBytes(input.ConsumeIntegralInRange(0, 14));
            break;
        case 5: {
            // Any event; a receive event also takes what waits below the threshold.
            const short event = input.ConsumeIntegral<short>();
            const QByteArray read = comm->waiting;
            comm->RaiseEvent(event);
            if (event == CommControl::comEvReceive && !read.isEmpty())
                model.Read(read);
            Require(dlg.GetItemText(IDC_RXCOUNT) == model.label);
            break;
        }
        case 6: {
            // Typing into the receive box, anywhere, between receptions.
            const QString text = QString::fromStdString(input.ConsumeRandomLengthString(8));
            QTextCursor cursor = recv->textCursor();
            cursor.setPosition(
                input.ConsumeIntegralInRange<int>(0, recv->document()->characterCount() - 1));
            recv->setTextCursor(cursor);
            recv->insertPlainText(text);
            typed += text.size();
            break;
        }
        case 7:
            send->setPlainText(QString::fromStdString(input.ConsumeRandomLengthString(24)));
            ClickItem(dlg, IDC_SEND);
            break;
        case 8:
            ClickItem(dlg, IDC_SENDMODE);
            break;
        case 9: {
            // The box lays out what was appended, as at a frame; the blocks
            // it keeps long paragraphs in are no part of its text.
            const QString shown = recv->toPlainText();
            recv->Settle();
            Require(recv->toPlainText() == shown);
            break;
        }
        default: {
            const std::vector<char> bytes =
                input.ConsumeBytes<char>(input.ConsumeIntegralInRange<size_t>(0, 40));
            const QByteArray arrived(bytes.data(), qsizetype(bytes.size()));
            const QByteArray read = comm->waiting + arrived;
            const int before = events;
            comm->Receive(arrived);
            if (events == before)
                break;
            Require(comm->waiting.isEmpty());
            model.Read(read);
            Require(dlg.GetItemText(IDC_BUFCOUNT) == QString::number(read.size()) + "Bytes");
            Require(dlg.GetItemText(IDC_RXCOUNT) == model.label);
            break;
        }
        }
        // At most three characters for each byte counted since the box was
        // emptied, and what the user typed.
        Require(recv->toPlainText().size() <= 3 * (10000 + 15) + typed);
    }
    ClickItem(dlg, IDC_SAVEAS);
    QFile saved(CapturePath());
    Require(saved.open(QIODevice::ReadOnly));
    const QByteArray file = saved.readAll();
    ::unlink(QFile::encodeName(CapturePath()).constData());
    Require(file.mid(file.indexOf("\r\n") + 2) == model.capture);
    QApplication::processEvents();
    return 0;
}
