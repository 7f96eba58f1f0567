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
#include <mutex>
#include <optional>
#include <stdexcept>

// The kernel's termios2, which <asm/termbits.h> declares in a way that clashes
// with <termios.h>; TCGETS2 and TCSETS2 take it. The TCGETS/TCSETS form is
// the same without the two speeds.
struct termios2 {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed;
    speed_t c_ospeed;
};

namespace {

constexpr tcflag_t kOther = 0010000; // BOTHER: the rate is in c_ispeed and c_ospeed
constexpr tcflag_t kFraming = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
constexpr tcflag_t kRate = CBAUD | CIBAUD;
constexpr unsigned kUartClock = 115200;

struct RateCode {
    tcflag_t code;
    unsigned rate;
};

constexpr RateCode kRates[] = {
    {B0, 0},
    {B50, 50},
    {B75, 75},
    {B110, 110},
    {B134, 134},
    {B150, 150},
    {B200, 200},
    {B300, 300},
    {B600, 600},
    {B1200, 1200},
    {B1800, 1800},
    {B2400, 2400},
    {B4800, 4800},
    {B9600, 9600},
    {B19200, 19200},
    {B38400, 38400},
    {B57600, 57600},
    {B115200, 115200},
    {B230400, 230400},
    {B460800, 460800},
    {B500000, 500000},
    {B576000, 576000},
    {B921600, 921600},
    {B1000000, 1000000},
    {B1152000, 1152000},
    {B1500000, 1500000},
    {B2000000, 2000000},
    {B2500000, 2500000},
    {B3000000, 3000000},
    {B3500000, 3500000},
    {B4000000, 4000000},
};

unsigned RateOf(tcflag_t cflag, speed_t ospeed) {
    const tcflag_t code = cflag & CBAUD;
    if (code == kOther)
        return ospeed;
    for (const RateCode& entry : kRates) {
        if (entry.code == code)
            return entry.rate;
    }
    return 0;
}

tcflag_t CodeOf(unsigned rate) {
    for (const RateCode& entry : kRates) {
        if (entry.rate == rate)
            return entry.code;
    }
    return kOther;
}

// What a UART clocked at 115200 Bd makes of a rate: the nearest integer divisor.
unsigned UartRate(unsigned rate) {
    if (rate == 0)
        return 0;
    const unsigned divisor = std::clamp((kUartClock + rate / 2) / rate, 1u, 0xFFFFu);
    return kUartClock / divisor;
}

std::string Describe(tcflag_t cflag, unsigned rate) {
    char parity = 'N';
    if (cflag & PARENB) {
        if (cflag & CMSPAR)
            parity = (cflag & PARODD) ? 'M' : 'S';
        else
            parity = (cflag & PARODD) ? 'O' : 'E';
    }
    const int data = (cflag & CSIZE) == CS5   ? 5
                     : (cflag & CSIZE) == CS6 ? 6
                     : (cflag & CSIZE) == CS7 ? 7
                                              : 8;
    return std::to_string(rate) + ',' + parity + ',' + std::to_string(data) + ',' +
           ((cflag & CSTOPB) ? '2' : '1');
}

template <typename Function> Function Real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

int RealFstat(int fd, struct stat* st) {
    static const auto real = Real<int (*)(int, struct stat*)>("fstat");
    return real(fd, st);
}

// What the driver has in force of the fields it keeps itself.
struct Line {
    tcflag_t cflag;
    unsigned rate;
};

std::atomic<bool> g_bAttached{false};
std::mutex g_mutex;
dev_t g_device = 0;
LineDriver g_driver = LineDriver::Pty;
std::vector<std::string> g_requests;
std::optional<Line> g_line;

bool Watched(int fd) {
    if (!g_bAttached)
        return false;
    struct stat st {};
    if (RealFstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const std::lock_guard lock(g_mutex);
    return g_bAttached && st.st_rdev == g_device;
}

// The driver is asked for a line: it logs the request and keeps what it can.
void Request(tcflag_t cflag, unsigned rate) {
    const std::lock_guard lock(g_mutex);
    g_requests.push_back(Describe(cflag, rate));
    if (g_driver != LineDriver::Pty)
        g_line = Line{cflag & kFraming, UartRate(rate)};
}

// The driver reports the line: the pseudo-terminal's answer with what the
// model keeps itself laid over it.
void Report(tcflag_t& cflag, speed_t* ispeed, speed_t* ospeed) {
    const std::lock_guard lock(g_mutex);
    if (g_driver == LineDriver::Pty || !g_line)
        return;
    if (g_driver == LineDriver::Uart16550)
        cflag = (cflag & ~kFraming) | g_line->cflag;
    cflag = (cflag & ~kRate) | CodeOf(g_line->rate);
    if (ispeed && ospeed)
        *ispeed = *ospeed = g_line->rate;
}

LineDriver Driver() {
    const std::lock_guard lock(g_mutex);
    return g_driver;
}

bool PresentsAsUart(dev_t device) {
    const std::lock_guard lock(g_mutex);
    return g_bAttached && g_driver == LineDriver::Uart16550 && device == g_device;
}

} // namespace

UartModel::UartModel(const std::string& device, LineDriver driver) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
        throw std::runtime_error("UART model: " + device + " is no character device");
    const std::lock_guard lock(g_mutex);
    if (g_bAttached)
        throw std::runtime_error("UART model: already plays another device");
    g_device = st.st_rdev;
    g_driver = driver;
    g_requests.clear();
    g_line.reset();
    g_bAttached = true;
}

UartModel::~UartModel() {
    const std::lock_guard lock(g_mutex);
    g_bAttached = false;
}

std::vector<std::string> UartModel::Requests() const {
    const std::lock_guard lock(g_mutex);
    return g_requests;
}

void UartModel::ClearRequests() {
    const std::lock_guard lock(g_mutex);
    g_requests.clear();
}

extern "C" {

int tcsetattr(int fd, int action, const struct termios* line) noexcept {
    static const auto real = Real<int (*)(int, int, const struct termios*)>("tcsetattr");
    if (!Watched(fd))
        return real(fd, action, line);
    Request(line->c_cflag, RateOf(line->c_cflag, 0));
    const int result = real(fd, action, line);
    // The C library checks the pseudo-terminal underneath, which drops
    // parity and character size; a UART keeps both.
    if (result != 0 && errno == EINVAL && Driver() == LineDriver::Uart16550)
        return 0;
    return result;
}

int tcgetattr(int fd, struct termios* line) noexcept {
    static const auto real = Real<int (*)(int, struct termios*)>("tcgetattr");
    const int result = real(fd, line);
    if (result == 0 && Watched(fd)) {
        Report(line->c_cflag, nullptr, nullptr);
        // The C library keeps the rate's code in its speed fields.
        line->c_ispeed = line->c_ospeed = line->c_cflag & CBAUD;
    }
    return result;
}

int ioctl(int fd, unsigned long request, ...) noexcept {
    static const auto real = Real<int (*)(int, unsigned long, ...)>("ioctl");
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (!Watched(fd))
        return real(fd, request, argument);
    auto* line = static_cast<termios2*>(argument);
    switch (request) {
    case TCSETS2:
    case TCSETSW2:
    case TCSETSF2:
        Request(line->c_cflag, RateOf(line->c_cflag, line->c_ospeed));
        return real(fd, request, argument);
    case TCSETS:
    case TCSETSW:
    case TCSETSF:
        Request(line->c_cflag, RateOf(line->c_cflag, 0));
        return real(fd, request, argument);
    case TCGETS2:
    case TCGETS: {
        const int result = real(fd, request, argument);
        if (result == 0) {
            if (request == TCGETS2)
                Report(line->c_cflag, &line->c_ispeed, &line->c_ospeed);
            else
                Report(line->c_cflag, nullptr, nullptr);
        }
        return result;
    }
    default:
        return real(fd, request, argument);
    }
}

int fstat(int fd, struct stat* st) noexcept {
    const int result = RealFstat(fd, st);
    if (result == 0 && S_ISCHR(st->st_mode) && PresentsAsUart(st->st_rdev))
        st->st_rdev = makedev(4, 64); // ttyS0
    return result;
}

} // extern "C"
