#pragma once

#include "app/SerialDlg.h"
#include "platform/MessageBox.h"
#include "resources/Resource.h"
#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"
#include "support/QtPrinters.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The real dialog on the offscreen platform over the recording control (or
// the one a derived fixture's MakeControl gives);
// message boxes are recorded instead of shown.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { PrepareDialog(), dlg->Create(); }
    void TearDown() override;
    // The control the dialog hosts: the recording fake, which comm points to.
    virtual std::unique_ptr<CommControl> MakeControl();
    // Everything SetUp does but creating the dialog's window.
    void PrepareDialog();

    void Click(int id) { ClickItem(*dlg, id); }
    void Select(int id, int index) { SelectItem(*dlg, id, index); }
    QString Text(int id) const { return dlg->GetItemText(id); }
    // Types text into the send box in place of what it held.
    void TypeSend(const QString& text) {
        static_cast<QPlainTextEdit*>(dlg->GetDlgItem(IDC_SENDTEXT))->setPlainText(text);
    }
    // Saves through the save-as button into a new file; what the file holds.
    QByteArray SaveAs();
    // Opens the port through the open button and forgets the log so far.
    void OpenPort();

    std::unique_ptr<CSerialDlg> dlg;
    FakeCommControl* comm = nullptr;
    std::vector<MessageBoxCall> boxes;
};
