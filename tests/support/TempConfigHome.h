#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include <optional>
#include <stdexcept>

// Points XDG_CONFIG_HOME at a fresh temporary folder while it lives, so port
// links and other per-user files stay out of the real home.
class TempConfigHome {
public:
    TempConfigHome() {
        if (!m_dir.isValid())
            throw std::runtime_error("cannot create a temporary XDG_CONFIG_HOME");
        if (qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
            m_previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    ~TempConfigHome() {
        if (m_previous)
            qputenv("XDG_CONFIG_HOME", *m_previous);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::optional<QByteArray> m_previous;
};
