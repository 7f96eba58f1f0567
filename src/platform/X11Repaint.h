#pragma once

// To be called before the QApplication is made. On X11, Qt shares the
// window's backing store with the server, and then waits for the server to
// finish reading it before painting again what it showed last: a round trip
// and two sleeping threads woken at every tick of a clock repainted 100
// times a second. Sending the few changed pixels is cheaper for this window,
// whose repaints are small. A setting the user made is left as it is.
void RepaintByCopyOnX11();
