#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/CrtRand.h"
#include "platform/LiveEdit.h"
#include "resources/Resource.h"
#include "temperature/ReadingRule.h"

#include <QComboBox>

void CSerialDlg::OnAcquire() {
    if (!CheckPortOpen())
        return;
    // The caption is the acquisition state: read once, so one click takes one branch.
    const QString strCaption = GetItemText(IDC_ACQUIRE);
    if (strCaption == QStringLiteral("开始采集"))
        SendAcquireCommand('\xFF', QStringLiteral("停止采集"));
    if (strCaption == QStringLiteral("停止采集"))
        SendAcquireCommand('\xFE', QStringLiteral("开始采集"));
}

void CSerialDlg::SendAcquireCommand(char command, const QString& nextCaption) {
    m_comm.SetOutput(QByteArray(1, command));
    ++m_nTxCount;
    SetTxCountLabel();
    SetItemText(IDC_ACQUIRE, nextCaption);
}

void CSerialDlg::OnCurve() {
    m_editTemp->show();
    QWidget* respBytes = m_items.Item(IDC_RESPBYTES);
    if (!m_bCurveOpen) {
        m_bCurveOpen = true;
        ResizeKeepingPosition(m_rcFull);
        SetItemText(IDC_CURVE, QStringLiteral("关闭曲线"));
        m_editTemp->show();
        SetItemText(IDC_RESP_LABEL, QStringLiteral("实时温度"));
        respBytes->hide();
    } else {
        m_bCurveOpen = false;
        ResizeKeepingPosition(m_rcSmall);
        SetItemText(IDC_CURVE, QStringLiteral("打开曲线"));
        m_editTemp->hide();
        SetItemText(IDC_RESP_LABEL, QStringLiteral("响应字节数"));
        respBytes->show();
    }
}

void CSerialDlg::UpdateTemperature(const QByteArray& text) {
    const double value = ReadCelsius(text);
    m_fTemperature = ToSinglePrecision(value);
    if (!m_bCurveOpen)
        return;
    m_editTemp->SetText(FormatReadout(value));
    m_curve.AddValue(CurveValue(m_fTemperature));
}

void CSerialDlg::OnTest() {
    g_bTestTimer = !g_bTestTimer;
    if (g_bTestTimer)
        SetTimer(TIMER_TEST, 500);
    else
        KillTimer(TIMER_TEST);
}

void CSerialDlg::OnTestTick() {
    int value;
    do {
        value = CrtRand().Rand();
    } while (value > 100);
    m_curve.AddValue(value);
}
