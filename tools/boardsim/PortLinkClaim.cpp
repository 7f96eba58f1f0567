#include "boardsim/PortLinkClaim.h"

#include "boardsim/BoardError.h"
#include "serial/PortNames.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString LinkPath(int number) {
    const QString folder = PortLinkFolder();
    if (folder.isEmpty())
        throw BoardError(QStringLiteral("no folder for COM%1's port link: %2")
                             .arg(QString::number(number), UserConfigFolder().why)
                             .toStdString());
    return folder + QStringLiteral("/com%1").arg(number);
}

} // namespace

PortLinkClaim::PortLinkClaim(int number, const QString& device)
    : m_path(LinkPath(number)), m_marker(m_path + QStringLiteral(".boardsim")), m_device(device) {
    const QFileInfo old(m_path);
    if (old.isSymLink() || old.exists()) {
        // Nothing in a folder that others may write is taken for the simulator's own.
        if (const QString distrust = PortLinkDistrust(m_path); !distrust.isEmpty())
            throw BoardError(distrust.toStdString());
        if (!IsOwnStaleLink()) {
            // exists() follows the link: false for a dangling one.
            const QString named = old.isSymLink() ? old.symLinkTarget() : m_path;
            const QString state = old.exists() ? QStringLiteral("which exists")
                                               : QStringLiteral("which is not there now");
            throw PortTakenError(QStringLiteral("COM%1 is taken: %2 names %3, %4, and is no "
                                                "stale link of this simulator, so it stays; "
                                                "choose a free number with --com N")
                                     .arg(QString::number(number), m_path, named, state)
                                     .toStdString());
        }
        m_replacedStale = true;
    }
    if (const QString error = PublishPortLink(number, device); !error.isEmpty())
        throw BoardError(error.toStdString());
    QFile marker(m_marker);
    if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        marker.write(QFile::encodeName(device) + '\n') < 0 || !marker.flush()) {
        const QString error = marker.errorString();
        QFile::remove(m_path);
        throw BoardError(QStringLiteral("cannot write %1: %2").arg(m_marker, error).toStdString());
    }
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
    QFile link(m_path);
    if (named == m_device && !link.remove())
        return QStringLiteral("cannot remove %1: %2").arg(m_path, link.errorString());
    // The marker goes after the link, so that no link of ours is ever
    // without its marker.
    if (MarkerNames(m_device))
        QFile::remove(m_marker);
    if (named.isEmpty())
        return QStringLiteral("%1 was gone already").arg(m_path);
    if (named != m_device)
        return QStringLiteral("left %1: it names %2 now").arg(m_path, named);
    return QStringLiteral("removed %1").arg(m_path);
}

bool PortLinkClaim::IsOwnStaleLink() const {
    static const QRegularExpression pseudoTerminal(QStringLiteral("^/dev/pts/[0-9]+$"));
    const QFileInfo link(m_path);
    const QString named = link.symLinkTarget();
    // A board that was killed leaves its link; the next one often gets the
    // same pseudo-terminal number, which then names this board's own line.
    return link.isSymLink() && pseudoTerminal.match(named).hasMatch() &&
           (!link.exists() || named == m_device) && MarkerNames(named);
}

bool PortLinkClaim::MarkerNames(const QString& device) const {
    // Only a plain file: reading anything else could wait for ever.
    const QFileInfo entry(m_marker);
    QFile marker(m_marker);
    return entry.isFile() && !entry.isSymLink() && marker.open(QIODevice::ReadOnly) &&
           marker.read(4096) == QFile::encodeName(device) + '\n';
}
