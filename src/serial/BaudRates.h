#pragma once

// The baud list's entries in list order: the list is filled from this table,
// and a position in the list turns back into a rate through it.
inline constexpr long kBaudRates[] = {100,   300,   600,   1200,  2400,   4800,   9600,   14400,
                                      19200, 38400, 56000, 57600, 115200, 128000, 256000, 512000};
