#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/MultilineEdit.h"
#include "resources/Resource.h"
#include "serial/ReceiveRules.h"

void CSerialDlg::OnCommEvent() {
    const short nEvent = m_comm.GetCommEvent();
    if (nEvent == CommControl::comEvCD) {
        OnPortLost();
        return;
    }
    if (nEvent != CommControl::comEvReceive)
        return;
    const short n = m_comm.GetInBufferCount();
    SetItemText(IDC_BUFCOUNT, QString::number(n) + QStringLiteral("Bytes"));
    // An event that finds nothing waiting has no bytes of its own: it ends here.
    if (n <= 0)
        return;
    m_pRxData = m_comm.GetInput().toByteArray();
    const QByteArray chunk = CutChunk(m_pRxData, m_nRespBytes);
    g_strRecvText = chunk;
    UpdateTemperature(chunk);
    AppendRecvDisplay();
    m_nRxCount += static_cast<int>(chunk.size());
    SetItemText(IDC_RXCOUNT, QString::number(m_nRxCount));
    if (m_nRxCount > 10000) {
        m_editRecv->clear();
        m_strRecv.clear();
        m_nRxCount = 0;
        // The label follows the counter, so it never shows bytes no longer counted.
        SetItemText(IDC_RXCOUNT, QString::number(m_nRxCount));
    }
    m_strRecv.append(chunk);
}

void CSerialDlg::AppendRecvDisplay() {
    if (g_bShowRecv != 1)
        return;
    const QByteArray& chunk = g_strRecvText;
    if (m_chRecvMode == '0') {
        AppendRecvText(DecodeRecvText(chunk));
        return;
    }
    QString pairs;
    pairs.reserve(chunk.size() * 3);
    for (char c : chunk) {
        ByteToHexPair(static_cast<unsigned char>(c));
        pairs.append(QLatin1String(g_szHexPair, 3));
    }
    AppendRecvText(pairs);
}

// Text mode: GBK decoded across chunk boundaries; CR LF, a lone CR and a
// lone LF each start a new line.
QString CSerialDlg::DecodeRecvText(const QByteArray& chunk) {
    QString text = m_recvDecoder.Decode(chunk);
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\n' && m_bLastWasCR) {
            m_bLastWasCR = false;
            continue;
        }
        m_bLastWasCR = c == u'\r';
        out.append(m_bLastWasCR ? QChar(u'\n') : c);
    }
    return out;
}

void CSerialDlg::AppendRecvText(const QString& text) {
    m_editRecv->Append(text);
}

void CSerialDlg::ResetRecvDecoder() {
    m_recvDecoder.Reset();
    m_bLastWasCR = false;
}

void CSerialDlg::ByteToHexPair(unsigned char b) {
    g_szHexPair[0] = NibbleToHexChar((b >> 4) & 15);
    g_szHexPair[1] = NibbleToHexChar(b & 15);
}

void CSerialDlg::OnClearDisplay() {
    m_editRecv->selectAll();
    m_editRecv->ensureCursorVisible();
    m_editRecv->textCursor().removeSelectedText();
    ResetRecvDecoder();
    m_nRxCount = static_cast<int>(m_editRecv->document()->characterCount() - 1);
    SetItemText(IDC_RXCOUNT, QString::number(m_nRxCount));
}

void CSerialDlg::OnStopDisplay() {
    if (g_bShowRecv == 1) {
        SetItemText(IDC_STOPDISP, QStringLiteral("开始显示"));
        g_bShowRecv = 0;
    } else {
        SetItemText(IDC_STOPDISP, QStringLiteral("停止显示"));
        g_bShowRecv = 1;
    }
}

void CSerialDlg::OnRecvMode() {
    if (m_chRecvMode == '0') {
        m_chRecvMode = '1';
        SetItemText(IDC_RECVMODE, QStringLiteral("十六进制"));
    } else {
        m_chRecvMode = '0';
        SetItemText(IDC_RECVMODE, QStringLiteral("文本形式"));
    }
    ResetRecvDecoder();
}
