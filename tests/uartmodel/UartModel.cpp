#include "uartmodel/UartModel.h"

#include <dlfcn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>

// The kernel's termios2 (TCGETS2, TCSETS2), whose header clashes with <termios.h>.
struct termios2 {
    tcflag_t c_iflag, c_oflag, c_cflag, c_lflag;
    cc_t c_line, c_cc[19];
    speed_t c_ispeed, c_ospeed;
};

namespace {

constexpr tcflag_t kFraming = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;

std::atomic<dev_t> g_device{0}; // 0 while no device is played
// What the UART keeps; the pseudo-terminal underneath forces 8 bits, no parity.
std::atomic<tcflag_t> g_framing{CS8};

// The C library's own function of the same name as the hook.
#define REAL(name) reinterpret_cast<decltype(&::name)>(::dlsym(RTLD_NEXT, #name))

bool Played(int fd) {
    static const auto realFstat = REAL(fstat);
    struct stat st {};
    return g_device != 0 && realFstat(fd, &st) == 0 && S_ISCHR(st.st_mode) &&
           st.st_rdev == g_device;
}

} // namespace

UartModel::UartModel(const std::string& device) {
    struct stat st {};
    ::stat(device.c_str(), &st);
    g_framing = CS8;
    g_device = st.st_rdev;
}

UartModel::~UartModel() {
    g_device = 0;
}

extern "C" {

int tcsetattr(int fd, int action, const struct termios* line) noexcept {
    static const auto real = REAL(tcsetattr);
    if (!Played(fd))
        return real(fd, action, line);
    g_framing = line->c_cflag & kFraming;
    // The C library finds the pseudo-terminal underneath dropping parity and
    // character size, and says EINVAL; a UART keeps both.
    const int result = real(fd, action, line);
    return result != 0 && errno == EINVAL ? 0 : result;
}

int tcgetattr(int fd, struct termios* line) noexcept {
    const int result = REAL(tcgetattr)(fd, line);
    if (result == 0 && Played(fd))
        line->c_cflag = (line->c_cflag & ~kFraming) | g_framing;
    return result;
}

int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    auto* line = va_arg(args, termios2*);
    va_end(args);
    const int result = REAL(ioctl)(fd, request, line);
    if (result == 0 && request == TCGETS2 && Played(fd)) {
        line->c_cflag = (line->c_cflag & ~kFraming) | g_framing;
        const speed_t asked = std::max<speed_t>(line->c_ospeed, 1);
        const speed_t divisor = std::clamp<speed_t>((115200 + asked / 2) / asked, 1, 0xFFFF);
        line->c_ispeed = line->c_ospeed = 115200 / divisor;
    }
    return result;
}

int fstat(int fd, struct stat* st) noexcept {
    const int result = REAL(fstat)(fd, st);
    if (result == 0 && g_device != 0 && S_ISCHR(st->st_mode) && st->st_rdev == g_device)
        st->st_rdev = makedev(4, 64); // ttyS0
    return result;
}

} // extern "C"
