#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// A pseudo-terminal pair standing in for a serial device: the program under
// test opens the slave (by SlavePath(), or as COMn through a port link) and
// the test plays the far end on the master. The slave starts in raw mode, so
// nothing is echoed or translated before the program configures it. Failures
// throw std::runtime_error.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const QString& SlavePath() const { return m_slavePath; }
    // A descriptor on the slave held by this pair: its line settings are the
    // ones the program put in force, and it keeps the master readable while
    // the program has the slave closed.
    int SlaveFd() const { return m_slave; }
    // The far end's descriptor (non-blocking), for a board played by another
    // process or thread.
    int MasterFd() const { return m_master; }

    // The far end sends bytes to the program.
    void Send(const QByteArray& bytes);

    // What the program has sent: reads until count bytes came or the deadline
    // passed, processing Qt events meanwhile so that the program's writes go out.
    QByteArray Receive(qsizetype count,
                       std::chrono::milliseconds deadline = std::chrono::seconds(5));

    // The far end hangs up: the master closes, the slave reads as vanished.
    void HangUp();

    // Publishes the slave as COMn in the current user's port-link folder.
    void PublishAs(int number) const;

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
