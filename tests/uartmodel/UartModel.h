#pragma once

#include <string>

// While it lives, one terminal device answers as a 16550 UART's driver does:
// it keeps parity, character size and stop bits as asked, makes of any rate
// 115200 Bd over the nearest integer divisor and reports that, and fstat
// shows the device as ttyS0. The library interposes the C library's terminal
// calls and fstat, so QSerialPort and the program reach the model through the
// very calls a real driver answers; it must precede the C library in the
// program's link order. One at a time.
class UartModel {
public:
    explicit UartModel(const std::string& device);
    ~UartModel();
    UartModel(const UartModel&) = delete;
    UartModel& operator=(const UartModel&) = delete;
};
