#pragma once

#include "support/DialogFixture.h"

#include <functional>
#include <vector>

struct ModalRun {
    int stepsRun = 0;           // steps that ran inside the modal loop
    bool endedByCancel = false; // the loop outlived the last step; Cancel ended it
};

// Runs dlg.DoModal() as the program does, and from inside its modal loop
// each step in turn, one pass of the loop apart, so what a step posts is
// handled before the next one runs; after the last step, Cancel. A loop that
// ends on its own shows as endedByCancel false and the steps it never ran.
ModalRun RunModal(CSerialDlg& dlg, std::vector<std::function<void()>> steps);

// Runs act on the modal window shown next (which act should close), from
// inside that window's own loop.
void WhenModalShown(std::function<void(QWidget* modal)> act);

// The dialog as the program runs it: DoModal creates it, and the test works
// it from inside the modal loop.
class ModalDialogTest : public DialogTest {
protected:
    void SetUp() override { PrepareDialog(); }
    ModalRun RunModal(std::vector<std::function<void()>> steps) {
        return ::RunModal(*dlg, std::move(steps));
    }
};
