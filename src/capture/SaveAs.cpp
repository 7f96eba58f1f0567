#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "capture/CaptureFile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

void CSerialDlg::OnSaveAs() {
    // The header's time is the time of the click, not of the dialog's closing.
    const QByteArray strTime = g_strTime;
    const SaveFileRequest request{QStringLiteral("接收数据另存为..."),
                                  {{QStringLiteral("TEXT Files(*.txt)"), QStringLiteral("*.txt")},
                                   {QStringLiteral("ALL Files(*.*)"), QStringLiteral("*")}},
                                  QStringLiteral("txt")};
    const std::optional<QString> path = GetSaveFileName(this, request);
    if (!path)
        return;
    // Receptions go on while the file dialog is open: take the buffer now.
    if (const auto failure = WriteCaptureFile(*path, strTime, m_strRecv))
        AppMessageBox(this, CaptureErrorText(failure->stage, failure->error, *path), {},
                      MsgIcon::Stop);
}
