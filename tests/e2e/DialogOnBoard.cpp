#include "e2e/DialogOnBoard.h"

#include "platform/FileDialog.h"
#include "resources/Resource.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

QVariant RecordingControl::GetInput() {
    const QVariant input = QtCommControl::GetInput();
    reads.push_back(input.toByteArray());
    return input;
}

std::unique_ptr<CommControl> DialogOnBoard::MakeControl() {
    auto real = std::make_unique<RecordingControl>();
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
    const size_t target = control->reads.size() + receptions;
    ASSERT_TRUE(WaitUntil([&] { return control->reads.size() >= target; }));
}

void DialogOnBoard::StopAndDrain() {
    Click(IDC_ACQUIRE);
    ASSERT_TRUE(WaitUntil([&] { return !board->IsSending(); }));
    ASSERT_TRUE(WaitUntil([&] {
        qsizetype read = 0;
        for (const QByteArray& bytes : control->reads)
            read += bytes.size();
        return read == board->Sent().size();
    }));
}

void DialogOnBoard::Type(const QString& text) {
    qobject_cast<QPlainTextEdit*>(dlg->GetDlgItem(IDC_SENDTEXT))->setPlainText(text);
}

QByteArray DialogOnBoard::SaveAs() {
    QTemporaryDir dir;
    const QString path = dir.filePath("capture.txt");
    SetSaveFileHook([&](const SaveFileRequest&) { return std::optional(path); });
    Click(IDC_SAVEAS);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}
