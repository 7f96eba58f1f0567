#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include <optional>

// Points XDG_CONFIG_HOME at a fresh temporary folder while it lives, so port
// links and other per-user files stay out of the real home.
class TempConfigHome {
public:
    TempConfigHome();
    ~TempConfigHome();
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::optional<QByteArray> m_previous;
};
