#pragma once

#include "support/DialogFixture.h"

#include <QKeySequence>

#include <functional>
#include <vector>

struct ModalRun {
    int stepsRun = 0;           // steps that ran inside the modal loop
    bool endedByCancel = false; // the loop outlived the last step; Cancel ended it
    int result = -1;            // what DoModal returned
};

// Runs dlg.DoModal() as the program does, and from inside its modal loop
// each step in turn, one pass of the loop apart, so what a step posts is
// handled before the next one runs; after the last step, Cancel. A loop that
// ends on its own shows as endedByCancel false and the steps it never ran.
ModalRun RunModal(CSerialDlg& dlg, std::vector<std::function<void()>> steps);

// Once a modal window other than owner comes up, records its title in
// *title and presses key in it. For closing a box that a step is about to run.
void PressKeyInNextModal(const QWidget* owner, Qt::Key key, QString* title);

// The dialog as the program runs it: DoModal creates it, and the test works
// it from inside the modal loop.
class ModalDialogTest : public DialogTest {
protected:
    void SetUp() override { PrepareDialog(); }
    ModalRun RunModal(std::vector<std::function<void()>> steps) {
        return ::RunModal(*dlg, std::move(steps));
    }
};
