#include "support/PseudoTerminal.h"

#include "serial/PortNames.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <poll.h>
#include <stdexcept>
#include <unistd.h>

void PseudoTerminal::Send(const QByteArray& bytes) {
    if (::write(MasterFd(), bytes.constData(), bytes.size()) != bytes.size())
        throw std::runtime_error("pseudo-terminal: the far end cannot write");
}

QByteArray PseudoTerminal::Receive(qsizetype count, std::chrono::milliseconds deadline) {
    QByteArray received;
    for (const QDeadlineTimer timer(deadline); received.size() < count && !timer.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd ready{MasterFd(), POLLIN, 0};
        char chunk[4096];
        if (::poll(&ready, 1, 10) == 1) {
            const ssize_t n = ::read(MasterFd(), chunk, sizeof chunk);
            received.append(chunk, n > 0 ? n : 0);
        }
    }
    return received;
}

void PseudoTerminal::PublishAs(int number) const {
    const QString error = PublishPortLink(number, SlavePath());
    if (!error.isEmpty())
        throw std::runtime_error("pseudo-terminal: " + error.toStdString());
}
