#include "support/PseudoTerminal.h"

#include "serial/PortNames.h"
#include "support/WaitUntil.h"

#include <stdexcept>
#include <unistd.h>

void PseudoTerminal::Send(const QByteArray& bytes) {
    if (::write(MasterFd(), bytes.constData(), bytes.size()) != bytes.size())
        throw std::runtime_error("pseudo-terminal: the far end cannot write");
}

QByteArray PseudoTerminal::Receive(qsizetype count) {
    QByteArray received;
    WaitUntil([&] {
        char chunk[4096];
        const ssize_t n = ::read(MasterFd(), chunk, sizeof chunk);
        received.append(chunk, n > 0 ? n : 0);
        return received.size() >= count;
    });
    return received;
}

void PseudoTerminal::PublishAs(int number) const {
    const QString error = PublishPortLink(number, SlavePath());
    if (!error.isEmpty())
        throw std::runtime_error("pseudo-terminal: " + error.toStdString());
}
