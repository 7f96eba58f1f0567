#pragma once

#include "serial/SerialSettings.h"

#include <QtGlobal>

#include <optional>

// The line settings that a terminal's driver has in force, as the kernel
// reports them after any change of its own (a driver rounds a rate it cannot
// make; a pseudo-terminal keeps neither parity nor a character size other
// than 8 bits). Nothing if fd is no terminal.
std::optional<SerialSettings> ReadLineSettings(int fd);

// Whether fd is the terminal side of a pseudo-terminal, which has no wire:
// its kernel driver always carries 8-bit bytes without parity.
bool IsPseudoTerminal(int fd);

// The settings a termios control-flag word and output speed describe.
SerialSettings DecodeLineSettings(quint32 cflag, qint32 speed);
