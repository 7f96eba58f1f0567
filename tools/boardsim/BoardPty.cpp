#include "boardsim/BoardPty.h"

#include "boardsim/BoardError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::string SystemError(const char* what) {
    return std::string("pseudo-terminal: ") + what + ": " + std::strerror(errno);
}

} // namespace

BoardPty::BoardPty() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        throw BoardError(SystemError("posix_openpt"));
    try {
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            throw BoardError(SystemError("grantpt/unlockpt"));
        const char* path = ::ptsname(m_master);
        if (!path)
            throw BoardError(SystemError("ptsname"));
        m_slavePath = QString::fromLocal8Bit(path);
        m_slave = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_slave < 0)
            throw BoardError(SystemError("open slave"));
        // Raw until the terminal sets the line up: no echo of the board's own
        // readings, no line editing, no CR/LF translation.
        termios raw{};
        if (::tcgetattr(m_slave, &raw) != 0)
            throw BoardError(SystemError("tcgetattr"));
        ::cfmakeraw(&raw);
        if (::tcsetattr(m_slave, TCSANOW, &raw) != 0)
            throw BoardError(SystemError("tcsetattr"));
    } catch (const BoardError&) {
        if (m_slave >= 0)
            ::close(m_slave);
        ::close(m_master);
        throw;
    }
}

BoardPty::~BoardPty() {
    CloseMaster();
    ::close(m_slave);
}

void BoardPty::CloseMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
