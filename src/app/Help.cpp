#include "app/SerialDlg.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

// F1: the help page that ships with the program, in the desktop's viewer.
void CSerialDlg::OnHelp() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + QStringLiteral("/help.html"),
                                     dir + QStringLiteral("/../share/serialtemp/help.html")}) {
        const QFileInfo page(candidate);
        if (page.isFile()) {
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page.canonicalFilePath())))
                AppMessageBox(this,
                              QStringLiteral("无法打开帮助文件 %1。").arg(page.canonicalFilePath()),
                              {}, MsgIcon::Stop);
            return;
        }
    }
    AppMessageBox(this, QStringLiteral("找不到帮助文件 help.html。"), {}, MsgIcon::Stop);
}
