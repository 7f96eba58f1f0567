// termios2, the one interface that carries any baud rate, lives in
// <asm/termbits.h>, which clashes with the C library's <termios.h>: keep
// that header out of this file.
#include "serial/LineSettings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

std::optional<SerialSettings> ReadLineSettings(int fd) {
    struct termios2 line {};
    if (::ioctl(fd, TCGETS2, &line) != 0)
        return std::nullopt;
    return DecodeLineSettings(line.c_cflag, static_cast<qint32>(line.c_ospeed));
}

bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    // Unix 98 pseudo-terminal slaves use majors 136 to 143.
    const unsigned major = ::major(st.st_rdev);
    return major >= 136 && major <= 143;
}

SerialSettings DecodeLineSettings(quint32 cflag, qint32 speed) {
    SerialSettings settings;
    settings.baudRate = speed;
    switch (cflag & CSIZE) {
    case CS5:
        settings.dataBits = QSerialPort::Data5;
        break;
    case CS6:
        settings.dataBits = QSerialPort::Data6;
        break;
    case CS7:
        settings.dataBits = QSerialPort::Data7;
        break;
    default:
        settings.dataBits = QSerialPort::Data8;
        break;
    }
    const bool odd = cflag & PARODD;
    if (!(cflag & PARENB))
        settings.parity = QSerialPort::NoParity;
    else if (cflag & CMSPAR)
        settings.parity = odd ? QSerialPort::MarkParity : QSerialPort::SpaceParity;
    else
        settings.parity = odd ? QSerialPort::OddParity : QSerialPort::EvenParity;
    settings.stopBits = (cflag & CSTOPB) ? QSerialPort::TwoStop : QSerialPort::OneStop;
    return settings;
}
