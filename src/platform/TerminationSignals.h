#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, logout or a closed terminal) as a
// Qt signal on the event loop, so that a program ends through its destructors,
// which close the port and remove its lock file or link. The handler only
// writes the signal's number into a pipe. One per process; failures throw
// std::system_error.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void Caught(int signo);

private:
    void OnReadable();

    QSocketNotifier* m_pNotifier = nullptr;
};
