#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/MessageBox.h"
#include "resources/Resource.h"
#include "serial/BaudRates.h"
#include "serial/PortListTooltip.h"

#include <QComboBox>

namespace {

// Selects the entry that reads text, wherever the list holds it.
void SelectEntry(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text));
}

} // namespace

void CSerialDlg::InitPortLists() {
    auto* port = m_items.Get<QComboBox>(IDC_PORT);
    for (int i = 1; i <= 15; ++i)
        port->addItem(QStringLiteral("COM%1").arg(i));
    SelectEntry(port, QStringLiteral("COM1"));
    m_nPort = static_cast<short>(port->currentIndex() + 1);
    port->installEventFilter(new PortListTooltip(port));

    auto* baud = m_items.Get<QComboBox>(IDC_BAUD);
    for (long rate : kBaudRates)
        baud->addItem(QString::number(rate));
    SelectEntry(baud, QStringLiteral("9600"));
    m_strBaud = baud->currentText();
    m_strSettings = m_strBaud + QStringLiteral(",n,8,1");

    auto* dataBits = m_items.Get<QComboBox>(IDC_DATABITS);
    for (int bits = 5; bits <= 8; ++bits)
        dataBits->addItem(QString::number(bits));
    SelectEntry(dataBits, QStringLiteral("8"));
    m_strDataBits = dataBits->currentText();

    auto* stopBits = m_items.Get<QComboBox>(IDC_STOPBITS);
    for (int bits = 1; bits <= 2; ++bits)
        stopBits->addItem(QString::number(bits));
    SelectEntry(stopBits, QStringLiteral("1"));
    m_strStopBits = stopBits->currentText();

    auto* parity = m_items.Get<QComboBox>(IDC_PARITY);
    for (const char* text : {"无校验", "奇校验", "偶校验"})
        parity->addItem(QString::fromUtf8(text));
    SelectEntry(parity, QStringLiteral("无校验"));

    auto* respBytes = m_items.Get<QComboBox>(IDC_RESPBYTES);
    for (int n = 1; n <= 15; ++n)
        respBytes->addItem(QStringLiteral("%1 个字节").arg(n));
    SelectEntry(respBytes, QStringLiteral("1 个字节"));
    m_nRespBytes = respBytes->currentIndex() + 1;
}

void CSerialDlg::ConfigurePort() {
    m_comm.SetCommPort(m_nPort);
    m_comm.SetInBufferSize(1024);
    m_comm.SetOutBufferSize(512);
    if (!m_comm.GetPortOpen())
        m_comm.SetPortOpen(true);
    m_comm.SetInputMode(1);
    m_comm.SetSettings(m_strSettings);
    m_comm.SetRThreshold(static_cast<short>(m_nRespBytes));
    m_comm.SetInputLen(0);
    m_comm.GetInput();
    m_comm.SetPortOpen(false);
}

void CSerialDlg::OnOpenPort() {
    if (!m_bPortConfigured) {
        ConfigurePort();
        m_bPortConfigured = true;
    }
    if (!g_bPortOpen) {
        m_comm.SetPortOpen(true);
        g_bPortOpen = true;
        SetItemText(IDC_OPEN, QStringLiteral("关闭串口"));
    } else {
        m_comm.SetPortOpen(false);
        g_bPortOpen = false;
        SetItemText(IDC_OPEN, QStringLiteral("打开串口"));
    }
}

// The control has closed a port whose device vanished (unplugged, hung up).
// The buttons name what the next press does: one press reopens, and the
// board, which restarts idle, gets the start command first. A carrier event
// on a port still open, or one the user has closed, is no loss.
void CSerialDlg::OnPortLost() {
    if (!g_bPortOpen || m_comm.GetPortOpen())
        return;
    g_bPortOpen = false;
    SetItemText(IDC_OPEN, QStringLiteral("打开串口"));
    SetItemText(IDC_ACQUIRE, QStringLiteral("开始采集"));
    AppMessageBox(
        this,
        QStringLiteral("%1已断开：设备被拔出或挂断，串口已关闭。请接好设备后重新打开串口。")
            .arg(m_comm.GetLostPort()),
        {}, MsgIcon::Stop);
}

void CSerialDlg::OnSelchangePort() {
    auto* port = m_items.Get<QComboBox>(IDC_PORT);
    const short nPortInUse = m_nPort;
    m_nPort = static_cast<short>(port->currentIndex() + 1);
    if (!m_comm.GetPortOpen()) {
        m_comm.SetCommPort(m_nPort);
        return;
    }
    AppMessageBox(this, QStringLiteral("串口已在应用中，请关闭串口后再操作！"));
    // The list must not show a port that is not the one in use.
    m_nPort = nPortInUse;
    port->setCurrentIndex(nPortInUse - 1);
}

void CSerialDlg::ComposeSettings() {
    m_strSettings = m_strBaud + ',' + m_strParity + ',' + m_strDataBits + ',' + m_strStopBits;
    m_comm.SetSettings(m_strSettings);
}

void CSerialDlg::OnSelchangeBaud() {
    const int p = m_items.Get<QComboBox>(IDC_BAUD)->currentIndex();
    m_strBaud = QString::number(kBaudRates[p]);
    ComposeSettings();
}

void CSerialDlg::OnSelchangeParity() {
    const int p = m_items.Get<QComboBox>(IDC_PARITY)->currentIndex();
    m_strParity = QString(QLatin1Char("NOE"[p]));
    ComposeSettings();
}

void CSerialDlg::OnSelchangeDataBits() {
    m_strDataBits = QString::number(m_items.Get<QComboBox>(IDC_DATABITS)->currentIndex() + 5);
    ComposeSettings();
}

void CSerialDlg::OnSelchangeStopBits() {
    m_strStopBits = QString::number(m_items.Get<QComboBox>(IDC_STOPBITS)->currentIndex() + 1);
    ComposeSettings();
}

void CSerialDlg::OnSelchangeRespBytes() {
    m_nRespBytes = m_items.Get<QComboBox>(IDC_RESPBYTES)->currentIndex() + 1;
    m_comm.SetRThreshold(static_cast<short>(m_nRespBytes));
}
