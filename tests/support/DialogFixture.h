#pragma once

#include "app/SerialDlg.h"
#include "platform/MessageBox.h"
#include "support/FakeCommControl.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The real dialog on the offscreen platform over the recording control (or
// the one a derived fixture's MakeControl gives);
// message boxes are recorded instead of shown.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The control the dialog hosts: the recording fake, which comm points to.
    virtual std::unique_ptr<CommControl> MakeControl();
    // Everything SetUp does but creating the dialog's window.
    void PrepareDialog();

    void Click(int id);
    void Select(int id, int index);
    // Chooses the entry of list id that reads entry, wherever the list holds it.
    void Select(int id, const QString& entry);
    QString Text(int id) const;
    // Types text into the send box in place of what it held.
    void TypeSend(const QString& text);
    // Saves through the save-as button into a new file; what the file holds.
    QByteArray SaveAs();
    // Opens the port through the open button and forgets the log so far.
    void OpenPort();

    std::unique_ptr<CSerialDlg> dlg;
    FakeCommControl* comm = nullptr;
    std::vector<MessageBoxCall> boxes;
};
