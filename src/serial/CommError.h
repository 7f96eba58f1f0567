#pragma once

#include <QString>

#include <exception>

// An error raised by the communications control: a refused property access.
// Handlers let it pass; the dispatcher reports it with the description.
class CommError : public std::exception {
public:
    explicit CommError(QString description)
        : m_strDescription(std::move(description)), m_utf8(m_strDescription.toUtf8()) {}

    const QString& Description() const noexcept { return m_strDescription; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_strDescription;
    QByteArray m_utf8;
};
