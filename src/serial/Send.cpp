#include "app/SerialDlg.h"
#include "platform/GbkCodec.h"
#include "platform/MessageBox.h"
#include "platform/MultilineEdit.h"
#include "resources/Resource.h"
#include "serial/HexRule.h"

namespace {

// The send box's text as the edit control holds it: line breaks are CR LF.
QString SendBoxText(const MultilineEdit* edit) {
    QString text = edit->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

} // namespace

void CSerialDlg::OnSend() {
    if (!CheckPortOpen())
        return;
    if (m_chSendMode == '0') {
        const QString text = SendBoxText(m_editSend);
        // The control sends the text in the code page; count what goes out.
        const qsizetype n = GbkFromUnicode(text).size();
        m_comm.SetOutput(text);
        m_nTxCount += static_cast<int>(n);
        SetTxCountLabel();
        return;
    }
    // Parsed as the box shows it, so that an error counts characters as the user does.
    const QString text = m_editSend->toPlainText();
    if (text.isEmpty())
        return;
    const auto parsed = ParseHexSend(text);
    if (const auto* error = std::get_if<HexSendError>(&parsed)) {
        AppMessageBox(this,
                      QStringLiteral("第 %1 个字符“%2”不是十六进制数字，未发送任何数据。")
                          .arg(QString::number(error->position + 1), error->character),
                      QStringLiteral("非法操作!"), MsgIcon::Exclamation);
        return;
    }
    const QByteArray& bytes = std::get<QByteArray>(parsed);
    if (bytes.isEmpty())
        return;
    m_comm.SetOutput(bytes);
    m_nTxCount += static_cast<int>(bytes.size());
    SetTxCountLabel();
}

bool CSerialDlg::CheckPortOpen() {
    if (m_comm.GetPortOpen())
        return true;
    AppMessageBox(this, QStringLiteral("请打开串口后再操作!"), QStringLiteral("非法操作!"),
                  MsgIcon::Exclamation);
    return false;
}

void CSerialDlg::SetTxCountLabel() {
    SetItemText(IDC_TXCOUNT, QString::number(m_nTxCount));
}

void CSerialDlg::OnSendMode() {
    if (m_chSendMode == '0') {
        m_chSendMode = '1';
        SetItemText(IDC_SENDMODE, QStringLiteral("十六进制"));
    } else {
        m_chSendMode = '0';
        SetItemText(IDC_SENDMODE, QStringLiteral("文本形式"));
    }
}
