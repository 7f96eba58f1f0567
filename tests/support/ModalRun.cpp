#include "support/ModalRun.h"

#include <QApplication>
#include <QTimer>

ModalRun RunModal(CSerialDlg& dlg, std::vector<std::function<void()>> steps) {
    ModalRun run;
    QObject pending; // its end cancels a step still queued when the loop has ended
    std::function<void()> next = [&] {
        if (run.stepsRun == int(steps.size())) {
            run.endedByCancel = true;
            dlg.reject();
            return;
        }
        steps[run.stepsRun++]();
        QTimer::singleShot(0, &pending, next);
    };
    QTimer::singleShot(0, &pending, next);
    // A loop that would never end fails the test instead of hanging it.
    QTimer::singleShot(std::chrono::seconds(60), &pending, [] {
        ADD_FAILURE() << "the modal loop did not end";
        QApplication::closeAllWindows();
    });
    dlg.DoModal();
    return run;
}

void WhenModalShown(std::function<void(QWidget* modal)> act) {
    // The first pass of the window's loop runs it, once the window is shown.
    QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
}
