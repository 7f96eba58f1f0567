#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// An error carrying a description for the user. Handlers let it pass; the
// dispatcher shows the description. Each layer above derives its own.
class DescribedError : public std::exception {
public:
    explicit DescribedError(QString description)
        : m_strDescription(std::move(description)), m_utf8(m_strDescription.toUtf8()) {}

    const QString& Description() const noexcept { return m_strDescription; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_strDescription;
    QByteArray m_utf8;
};
