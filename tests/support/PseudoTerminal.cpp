#include "support/PseudoTerminal.h"

#include "serial/PortNames.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string("pseudo-terminal: ") + what + ": " + std::strerror(errno));
}

} // namespace

PseudoTerminal::PseudoTerminal() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        Fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        ::close(m_master);
        Fail("grantpt/unlockpt");
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        ::close(m_master);
        Fail("open slave");
    }
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    if (::tcsetattr(m_slave, TCSANOW, &raw) != 0) {
        ::close(m_slave);
        ::close(m_master);
        Fail("tcsetattr");
    }
}

PseudoTerminal::~PseudoTerminal() {
    ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

void PseudoTerminal::Send(const QByteArray& bytes) {
    if (m_master < 0)
        throw std::runtime_error("pseudo-terminal: send after hang-up");
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += n;
        } else if (errno == EAGAIN) {
            // The slave's input is full until the program reads.
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        } else if (errno != EINTR) {
            Fail("write master");
        }
    }
}

QByteArray PseudoTerminal::Receive(qsizetype count, std::chrono::milliseconds deadline) {
    QByteArray received;
    const QDeadlineTimer timer(deadline);
    while (received.size() < count && !timer.hasExpired() && m_master >= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd ready{m_master, POLLIN, 0};
        if (::poll(&ready, 1, 10) <= 0)
            continue;
        char chunk[4096];
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n > 0)
            received.append(chunk, n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            Fail("read master");
    }
    return received;
}

void PseudoTerminal::HangUp() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void PseudoTerminal::PublishAs(int number) const {
    const QString error = PublishPortLink(number, m_slavePath);
    if (!error.isEmpty())
        throw std::runtime_error("pseudo-terminal: " + error.toStdString());
}
