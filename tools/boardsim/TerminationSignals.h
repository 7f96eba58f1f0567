#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP as a Qt signal on the event loop, so that the
// program ends through its destructors (which remove the port link). The
// handler only writes the signal's number into a pipe. One per process;
// failures throw BoardError.
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
