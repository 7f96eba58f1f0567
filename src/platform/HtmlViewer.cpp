#include "platform/HtmlViewer.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// xdg-mime's answer without parameters, empty when it has none or fails.
QString QueryXdgMime(const QStringList& arguments) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), QStringList{QStringLiteral("query")} + arguments);
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    const QString answer = QString::fromLocal8Bit(query.readAllStandardOutput());
    return answer.section(u'\n', 0, 0).section(u';', 0, 0).trimmed();
}

bool DesktopCanShow(const QString& path) {
    const QString type = QueryXdgMime({QStringLiteral("filetype"), path});
    return !type.isEmpty() && !QueryXdgMime({QStringLiteral("default"), type}).isEmpty();
}

} // namespace

bool ShowHtmlPage(const QString& path) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    // Without xdg-open, Qt's own openers (a sandbox's portal, a desktop's
    // tool) report failure themselves.
    if (opener.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return DesktopCanShow(path) && QProcess::startDetached(opener, {path});
}
