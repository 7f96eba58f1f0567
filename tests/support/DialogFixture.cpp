#include "support/DialogFixture.h"
#include "support/ReadFile.h"

#include "app/Globals.h"
#include "platform/FileDialog.h"

#include <QTemporaryDir>

void DialogTest::PrepareDialog() {
    ResetGlobals();
    SetMessageBoxHook([this](const MessageBoxCall& call) { boxes.push_back(call); });
    dlg = std::make_unique<CSerialDlg>(MakeControl());
}

std::unique_ptr<CommControl> DialogTest::MakeControl() {
    auto fake = std::make_unique<FakeCommControl>();
    comm = fake.get();
    return fake;
}

void DialogTest::TearDown() {
    dlg.reset();
    SetMessageBoxHook({});
    SetSaveFileHook({});
}

QByteArray DialogTest::SaveAs() {
    const QTemporaryDir dir;
    const QString path = dir.filePath("capture.txt");
    SetSaveFileHook([&](const SaveFileRequest&) { return std::optional(path); });
    Click(IDC_SAVEAS);
    SetSaveFileHook({});
    return ReadFile(path);
}

void DialogTest::OpenPort() {
    Click(IDC_OPEN);
    ASSERT_TRUE(comm->portOpen);
    comm->log.clear();
}
