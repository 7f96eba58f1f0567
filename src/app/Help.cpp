#include "app/SerialDlg.h"
#include "platform/HtmlViewer.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>

// F1: the help page that ships with the program, in the desktop's viewer.
void CSerialDlg::OnHelp() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {dir + QStringLiteral("/help.html"),
                                     dir + QStringLiteral("/../share/serialtemp/help.html")}) {
        const QFileInfo page(candidate);
        if (page.isFile()) {
            const QString path = page.canonicalFilePath();
            if (!ShowHtmlPage(path))
                AppMessageBox(this,
                              QStringLiteral("无法打开帮助页面：没有找到可以显示网页的程序。\n"
                                             "帮助页面位于 %1，可以用浏览器打开它。")
                                  .arg(path),
                              {}, MsgIcon::Stop);
            return;
        }
    }
    AppMessageBox(this, QStringLiteral("找不到帮助文件 help.html。"), {}, MsgIcon::Stop);
}
