#pragma once

#include <QString>

// Why a serial device or an open line fails, as a clause for the user in
// Chinese ("设备不存在"), learnt from the system's error number: QSerialPort
// keeps that number to itself and offers only the C library's English text.

// Why device did not open as a serial line: another program holding its
// lock file, or the error that opening it and reading its line settings
// gives now. Never empty.
QString WhyDeviceDidNotOpen(const QString& device);

// Why an open line failed: the error that reading its settings gives now.
// Empty when the line still reads as a terminal.
QString WhyLineFails(int fd);

// Whether the far end of an open line is gone: a hang-up, an unplugged adapter.
bool LineHungUp(int fd);
