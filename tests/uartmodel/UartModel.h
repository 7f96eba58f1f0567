#pragma once

#include <string>
#include <vector>

// The driver behind one terminal device, as the end-to-end tests play it.
// The library interposes the C library's terminal calls (tcsetattr,
// tcgetattr, the TCSETS/TCGETS ioctls and their termios2 forms) and fstat,
// so QSerialPort and the program reach the model through the very calls a
// real driver answers. It must come before the C library in the program's
// link order.
enum class LineDriver {
    // The device's own driver (a pseudo-terminal): requests are only logged.
    Pty,
    // A pseudo-terminal whose rates come from a 115200 Bd clock, as a UART's.
    PtyWithUartClock,
    // A 16550 UART's driver: it keeps CSIZE, PARENB, PARODD, CMSPAR and
    // CSTOPB as asked, makes 115200 / an integer divisor of whatever rate it
    // is asked for and reports that rate, and fstat shows the device as ttyS0.
    Uart16550,
};

// While it lives, device (a terminal device's path) has the given driver
// and every line request made on it is logged. One at a time.
class UartModel {
public:
    UartModel(const std::string& device, LineDriver driver);
    ~UartModel();
    UartModel(const UartModel&) = delete;
    UartModel& operator=(const UartModel&) = delete;

    // The line requests made on the device, in order, as the settings they
    // ask for: "19200,O,7,2" (rate, parity letter N/O/E/M/S, data, stop bits).
    std::vector<std::string> Requests() const;
    void ClearRequests();
};
