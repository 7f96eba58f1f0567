#include "support/DialogFixture.h"
#include "support/DialogDriver.h"
#include "support/ReadFile.h"

#include "app/Globals.h"
#include "platform/FileDialog.h"
#include "resources/Resource.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

void DialogTest::SetUp() {
    PrepareDialog();
    dlg->Create();
}

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

void DialogTest::Click(int id) {
    ASSERT_NE(qobject_cast<QPushButton*>(dlg->GetDlgItem(id)), nullptr) << id;
    ClickItem(*dlg, id);
}

void DialogTest::Select(int id, int index) {
    const auto* list = qobject_cast<QComboBox*>(dlg->GetDlgItem(id));
    ASSERT_TRUE(list && index >= 0 && index < list->count()) << id << ": " << index;
    SelectItem(*dlg, id, index);
}

void DialogTest::Select(int id, const QString& entry) {
    const auto* list = qobject_cast<QComboBox*>(dlg->GetDlgItem(id));
    ASSERT_NE(list, nullptr) << id;
    Select(id, list->findText(entry));
}

QString DialogTest::Text(int id) const {
    return dlg->GetItemText(id);
}

void DialogTest::TypeSend(const QString& text) {
    static_cast<QPlainTextEdit*>(dlg->GetDlgItem(IDC_SENDTEXT))->setPlainText(text);
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
