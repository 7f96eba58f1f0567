#include "support/FakeCommControl.h"

#include "serial/CommError.h"

#include <stdexcept>

const QVariant& FakeCommControl::Access(const char* name, const QVariant& value) {
    const bool setter = QByteArrayView(name).endsWith('=');
    log.append(QString::fromLatin1(name) + (setter ? value.toString() : QString()));
    if (auto it = m_failures.find(log.last()); it != m_failures.end()) {
        if (it->second.isNull())
            throw std::runtime_error("undescribed");
        throw CommError(it->second);
    }
    return value;
}

QVariant FakeCommControl::GetInput() {
    Access("Input?");
    const QByteArray bytes = m_inputLen > 0 ? waiting.left(m_inputLen) : waiting;
    waiting.remove(0, bytes.size());
    return bytes;
}
