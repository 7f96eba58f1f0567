#pragma once

#include <QString>

// The board's end of the line: a pseudo-terminal whose slave the terminal
// opens as its serial device. The pair keeps a descriptor on the slave of
// its own, so the master reads no hang-up while the terminal has the port
// closed, and the slave's number cannot pass to another pseudo-terminal
// while a port link may still name it. Creation failures throw BoardError.
class BoardPty {
public:
    BoardPty();
    ~BoardPty();
    BoardPty(const BoardPty&) = delete;
    BoardPty& operator=(const BoardPty&) = delete;

    // Non-blocking; -1 once the line is closed.
    int MasterFd() const { return m_master; }
    // Its line settings are the ones the terminal put in force.
    int SlaveFd() const { return m_slave; }
    const QString& SlavePath() const { return m_slavePath; }

    // Unplugs the line: the slave's node goes, and the terminal reads a hang-up.
    void CloseMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
