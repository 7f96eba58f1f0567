#include "support/XServer.h"

#include <cstdlib>
#include <stdexcept>

pid_t XServerPid() {
    const char* pid = std::getenv("XSERVER_PID");
    if (pid == nullptr || std::atoi(pid) <= 0)
        throw std::runtime_error("XSERVER_PID does not name the X server (run scripts/bench.sh)");
    return static_cast<pid_t>(std::atoi(pid));
}
