#include "boardsim/PortLinkClaim.h"

#include "boardsim/BoardError.h"
#include "serial/PortNames.h"

#include <QFile>
#include <QFileInfo>

PortLinkClaim::PortLinkClaim(int number, const QString& device)
    : m_path(QStringLiteral("%1/com%2").arg(PortLinkFolder()).arg(number)), m_device(device) {
    const QFileInfo old(m_path);
    // exists() follows the link: false for a dangling one.
    if (old.exists()) {
        const QString named = old.isSymLink() ? old.symLinkTarget() : m_path;
        throw BoardError(QStringLiteral("COM%1 is taken: %2 names %3, which exists; choose "
                                        "another number with --com, or remove the link")
                             .arg(number)
                             .arg(m_path, named)
                             .toStdString());
    }
    m_replacedStale = old.isSymLink();
    if (const QString error = PublishPortLink(number, device); !error.isEmpty())
        throw BoardError(error.toStdString());
}

PortLinkClaim::~PortLinkClaim() {
    // The owner releases and logs; a claim it never got to release still
    // says what became of the link.
    if (m_held)
        qInfo("%s", qPrintable(Release()));
}

QString PortLinkClaim::Release() {
    m_held = false;
    const QString named = QFileInfo(m_path).symLinkTarget();
    if (named.isEmpty())
        return QStringLiteral("%1 was gone already").arg(m_path);
    if (named != m_device)
        return QStringLiteral("left %1: it names %2 now").arg(m_path, named);
    QFile link(m_path);
    if (!link.remove())
        return QStringLiteral("cannot remove %1: %2").arg(m_path, link.errorString());
    return QStringLiteral("removed %1").arg(m_path);
}
