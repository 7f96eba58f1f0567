#pragma once

// The window styles a child window is created with, by their platform values.
inline constexpr unsigned WS_CHILD = 0x40000000;
inline constexpr unsigned WS_VISIBLE = 0x10000000;
