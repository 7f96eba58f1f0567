#pragma once

#include "boardsim/BoardPty.h"

#include <QByteArray>

// The simulator's line, with the test playing the board on the master: the
// program under test opens the slave by SlavePath(), or as COMn once
// published. Failures throw std::runtime_error.
class PseudoTerminal : public BoardPty {
public:
    // Up to the slave's input size at once.
    void Send(const QByteArray& bytes);
    // What the program has sent: reads, with Qt events running so that the
    // program's writes go out, until count bytes came or a few seconds passed.
    QByteArray Receive(qsizetype count);
    // Publishes the slave as COMn in the current user's port-link folder.
    void PublishAs(int number) const;
};
