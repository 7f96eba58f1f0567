#pragma once

#include "controls/ColorButton.h"
#include "platform/DialogBuilder.h"
#include "platform/GbkCodec.h"
#include "platform/MultilineEdit.h"
#include "serial/MSComm.h"
#include "temperature/CurveWnd.h"

#include <QByteArray>
#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QRect>
#include <QString>

#include <map>
#include <memory>

class LiveEdit;
class QMenu;

constexpr int TIMER_TEST = 1;
constexpr int TIMER_CLOCK = 2;

// The main dialog and the one owner of the terminal's state. Its handlers
// live in the folder of their subsystem.
class CSerialDlg : public QDialog {
    Q_OBJECT

public:
    // control is the communications control the dialog hosts as 1000.
    explicit CSerialDlg(std::unique_ptr<CommControl> control, QWidget* pParent = nullptr);
    ~CSerialDlg() override;

    // The dialog's standard initialisation and OnInitDialog; the constructor
    // does not create the window, as a modal dialog's does not.
    bool Create();
    int DoModal();

    QWidget* GetDlgItem(int nID) const { return m_items.Item(nID); }
    // The caption or text of a control, as GetDlgItemText gives it.
    QString GetItemText(int nID) const;

private:
    // The message table: which control notification runs which handler.
    struct MessageEntry;
    static const MessageEntry kMessageMap[];

    // Handlers, in message-table order (the table is in SerialDlg.cpp).
    void OnSysCommand(unsigned nID);
    void OnSend();
    void OnTest();
    void OnTimer(int nIDEvent);
    void OnCurve();
    void OnOpenPort();
    void OnClearDisplay();
    void OnStopDisplay();
    void OnSaveAs();
    void OnAcquire();
    void OnSelchangeBaud();
    void OnSelchangePort();
    void OnSelchangeDataBits();
    void OnSelchangeStopBits();
    void OnSelchangeParity();
    void OnSendMode();
    void OnRecvMode();
    void OnSelchangeRespBytes();
    void OnCommEvent();

    void OnHelp();

    // Members in declaration order.
    QString m_strParity;
    QString m_strStopBits;
    QString m_strDataBits;
    QString m_strBaud;
    short m_nPort;
    LiveEdit* m_editTemp = nullptr;
    MultilineEdit* m_editSend = nullptr;
    MultilineEdit* m_editRecv = nullptr;
    CMSComm m_comm;
    QByteArray m_strRecv;
    QString m_strSend;
    QIcon m_hIcon;
    CColorButton m_btnCurve;
    CColorButton m_btnSend;
    CColorButton m_btnOpen;
    CCurveWnd m_curve;
    QByteArray m_pRxData;
    int m_nTxCount;
    int m_nRxCount;
    bool m_bPortConfigured;
    int m_nRespBytes;
    char m_chRecvMode;
    char m_chSendMode;
    QString m_strSettings;
    QRect m_rcSmall;
    QRect m_rcFull;
    bool m_bCurveOpen;
    float m_fTemperature;

    bool OnInitDialog();
    void DoDataExchange(bool bSaveAndValidate);
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    void InitPortLists();
    void ConfigurePort();
    void ComposeSettings();
    void OnPortLost();
    void AppendRecvDisplay();
    QString DecodeRecvText(const QByteArray& chunk);
    void AppendRecvText(const QString& text);
    void ResetRecvDecoder();
    void ByteToHexPair(unsigned char b);
    void UpdateTemperature(const QByteArray& text);
    void OnTestTick();
    void Tick();
    void PaintAtNextTick();
    void SetTxCountLabel();
    bool CheckPortOpen();
    void SendAcquireCommand(char command, const QString& nextCaption);

    void ConnectMessageMap();
    void BuildSystemMenu();
    void SetTimer(int nIDEvent, int nElapse);
    void KillTimer(int nIDEvent);
    void ResizeKeepingPosition(const QRect& size);
    void CenterOnWorkArea();
    void SetItemText(int nID, const QString& text);

    std::unique_ptr<CommControl> m_pHostedControl;
    DialogItems m_items;
    std::map<int, int> m_timerIds; // Qt timer id -> dialog timer id
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_sinceReading;
    int m_nClockElapse = 0; // the clock timer's interval as last set
    QMenu* m_pSysMenu = nullptr;
    QAction* m_pLockAction = nullptr;
    GbkDecoder m_recvDecoder;
    bool m_bLastWasCR = false;
};
