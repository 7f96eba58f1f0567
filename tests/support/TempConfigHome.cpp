#include "support/TempConfigHome.h"

#include <stdexcept>

TempConfigHome::TempConfigHome() {
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary XDG_CONFIG_HOME");
    if (qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        m_previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
}

TempConfigHome::~TempConfigHome() {
    if (m_previous)
        qputenv("XDG_CONFIG_HOME", *m_previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
