#include "support/ModalRun.h"

#include <QApplication>
#include <QDeadlineTimer>
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
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->hide();
    });
    run.result = dlg.DoModal();
    return run;
}

void WhenModalShown(const QWidget* owner, std::function<void(QWidget* modal)> act) {
    auto* poll = new QTimer;
    const QDeadlineTimer deadline(std::chrono::seconds(10));
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal && modal != owner && modal->isVisible();
        if (!shown && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (shown)
            act(modal);
    });
    poll->start(10);
}
