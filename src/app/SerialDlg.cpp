#include "app/SerialDlg.h"

#include "app/Clock.h"
#include "app/DialogColors.h"
#include "platform/Dispatch.h"
#include "platform/FramePictureStyle.h"
#include "platform/LiveEdit.h"
#include "platform/LiveText.h"
#include "platform/MultilineEdit.h"
#include "platform/WindowStyles.h"
#include "resources/DialogTemplates.h"
#include "resources/Icons.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimerEvent>

#include <array>

namespace {

// The static texts that change many times a second, and what assistive tools
// are told they are: the caption of the group box around each.
struct LiveTextEntry {
    int id;
    QAccessible::Role role;
    const char* name;
};

constexpr LiveTextEntry kLiveTexts[] = {
    {IDC_CLOCK, QAccessible::Clock, "系统时间"},
    {IDC_RXCOUNT, QAccessible::StaticText, "接收字节"},
    {IDC_TXCOUNT, QAccessible::StaticText, "发送字节"},
    {IDC_BUFCOUNT, QAccessible::StaticText, "缓冲区字节"},
};

// The controls whose text changes many times a second: those texts and the
// readout.
constexpr auto kLiveIds = [] {
    std::array<int, std::size(kLiveTexts) + 1> ids{};
    for (std::size_t i = 0; i < std::size(kLiveTexts); ++i)
        ids[i] = kLiveTexts[i].id;
    ids.back() = IDC_TEMP;
    return ids;
}();

enum class Notification { Clicked, SelChange };

} // namespace

struct CSerialDlg::MessageEntry {
    int id;
    Notification code;
    void (CSerialDlg::*handler)();
};

// The dialog's message table: which control notification runs which handler.
const CSerialDlg::MessageEntry CSerialDlg::kMessageMap[] = {
    {IDC_SEND, Notification::Clicked, &CSerialDlg::OnSend},
    {IDC_TEST, Notification::Clicked, &CSerialDlg::OnTest},
    {IDC_CURVE, Notification::Clicked, &CSerialDlg::OnCurve},
    {IDC_OPEN, Notification::Clicked, &CSerialDlg::OnOpenPort},
    {IDC_CLEAR, Notification::Clicked, &CSerialDlg::OnClearDisplay},
    {IDC_STOPDISP, Notification::Clicked, &CSerialDlg::OnStopDisplay},
    {IDC_SAVEAS, Notification::Clicked, &CSerialDlg::OnSaveAs},
    {IDC_ACQUIRE, Notification::Clicked, &CSerialDlg::OnAcquire},
    {IDC_BAUD, Notification::SelChange, &CSerialDlg::OnSelchangeBaud},
    {IDC_PORT, Notification::SelChange, &CSerialDlg::OnSelchangePort},
    {IDC_DATABITS, Notification::SelChange, &CSerialDlg::OnSelchangeDataBits},
    {IDC_STOPBITS, Notification::SelChange, &CSerialDlg::OnSelchangeStopBits},
    {IDC_PARITY, Notification::SelChange, &CSerialDlg::OnSelchangeParity},
    {IDC_SENDMODE, Notification::Clicked, &CSerialDlg::OnSendMode},
    {IDC_RECVMODE, Notification::Clicked, &CSerialDlg::OnRecvMode},
    {IDC_RESPBYTES, Notification::SelChange, &CSerialDlg::OnSelchangeRespBytes},
};

CSerialDlg::CSerialDlg(std::unique_ptr<CommControl> control, QWidget* pParent)
    : QDialog(pParent), m_strParity(QStringLiteral("N")), m_nPort(1), m_hIcon(AppIcon()),
      m_nTxCount(0), m_nRxCount(0), m_bPortConfigured(false), m_nRespBytes(1), m_chRecvMode('0'),
      m_chSendMode('0'), m_strSettings(QStringLiteral("9600,n,8,1")), m_bCurveOpen(false),
      m_fTemperature(27.0f), m_pHostedControl(std::move(control)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
}

CSerialDlg::~CSerialDlg() = default;

bool CSerialDlg::Create() {
    m_items = BuildDialog(*this, g_tmplSerialDialog, {}, kLiveIds);
    SetDialogBkColor(this);
    DoDataExchange(false);
    ConnectMessageMap();
    return OnInitDialog();
}

int CSerialDlg::DoModal() {
    Create();
    return exec();
}

void CSerialDlg::DoDataExchange(bool bSaveAndValidate) {
    if (!m_comm.Control()) {
        m_editTemp = m_items.Get<LiveEdit>(IDC_TEMP);
        m_editSend = m_items.Get<MultilineEdit>(IDC_SENDTEXT);
        m_editRecv = m_items.Get<MultilineEdit>(IDC_RECV);
        m_comm.Attach(std::move(m_pHostedControl));
        // The receive box takes a stream of appends; an undo history would only grow.
        m_editRecv->setUndoRedoEnabled(false);
        // The receive box and the readout lay their text out at every reading.
        // The dialog face has no ligatures or kerning, so shaping changes
        // nothing: unshaped, the same glyphs land in the same places, without
        // HarfBuzz's work at each reading.
        for (QWidget* edit : std::initializer_list<QWidget*>{m_editRecv, m_editTemp}) {
            QFont font = edit->font();
            font.setStyleStrategy(QFont::PreferNoShaping);
            edit->setFont(font);
        }
    }
    if (bSaveAndValidate) {
        m_strSend = m_editSend->toPlainText();
    } else {
        m_editRecv->setPlainText(GbkToUnicode(m_strRecv));
        m_editSend->setPlainText(m_strSend);
    }
}

void CSerialDlg::ConnectMessageMap() {
    SetInternalFailureText(LoadResString(AFX_IDP_INTERNAL_FAILURE));
    for (const MessageEntry& entry : kMessageMap) {
        const auto handler = entry.handler;
        auto run = [this, handler] {
            Dispatch(this, HandlerKind::Command, [&] { (this->*handler)(); });
        };
        QWidget* item = m_items.Item(entry.id);
        if (entry.code == Notification::Clicked)
            connect(static_cast<QPushButton*>(item), &QPushButton::clicked, this, run);
        else
            connect(static_cast<QComboBox*>(item), &QComboBox::activated, this, run);
    }
    connect(m_comm.Control(), &CommControl::OnComm, this, [this] {
        Dispatch(this, HandlerKind::ControlEvent, [this] {
            OnCommEvent();
            PaintAtNextTick();
        });
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [this] { Dispatch(this, HandlerKind::Command, [this] { OnHelp(); }); });
}

bool CSerialDlg::OnInitDialog() {
    BuildSystemMenu();
    setWindowIcon(m_hIcon);

    m_btnSend.Attach(IDC_SEND, this, QColor(0, 255, 255), QColor(0, 0, 255), QColor(0, 128, 128),
                     2);
    m_btnCurve.Attach(IDC_CURVE, this, QColor(0, 0, 255), QColor(255, 255, 255), QColor(0, 0, 128),
                      2);
    m_btnOpen.Attach(IDC_OPEN, this, QColor(255, 0, 0), QColor(255, 255, 255), QColor(128, 0, 0),
                     2);

    m_curve.Create(WS_CHILD | WS_VISIBLE, m_items.Item(IDC_PLOT)->geometry(), this, IDC_CURVEWND);
    m_curve.SetRange(0, 100);

    m_editTemp->setText(QStringLiteral("摄氏     ℃"));
    // The readout changes at every reading in curve mode; its frame never.
    // It fills the dialog's background behind its frame itself, so that its
    // repaint stays within it.
    auto* readoutStyle = new FramePictureStyle;
    readoutStyle->setParent(m_editTemp);
    m_editTemp->setStyle(readoutStyle);
    m_editTemp->setBackgroundRole(QPalette::Window);
    m_editTemp->setAutoFillBackground(true);
    SetTimer(TIMER_CLOCK, kClockMs);
    m_sinceTick.start();
    // The clock changes every 10 ms and the counters at every reception;
    // drawn over a transparent background each would have the group box
    // around it repainted every time as well.
    for (const LiveTextEntry& entry : kLiveTexts) {
        auto* text = m_items.Get<LiveText>(entry.id);
        text->TakeBackdrop();
        text->SetAccessibleRole(entry.role, QString::fromUtf8(entry.name));
    }

    InitPortLists();

    m_rcFull = geometry();
    const QRect separator = m_items.Item(IDC_SEPARATOR)->geometry();
    m_rcSmall = QRect(m_rcFull.left(), m_rcFull.top(), m_rcFull.width(),
                      separator.top() + separator.height());
    ResizeKeepingPosition(m_rcSmall);
    m_editTemp->hide();
    CenterOnWorkArea();
    return true;
}

void CSerialDlg::ResizeKeepingPosition(const QRect& size) {
    setFixedSize(size.width(), size.height());
    raise();
}

void CSerialDlg::CenterOnWorkArea() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    int x = work.left() + (work.width() - frame.width()) / 2;
    int y = work.top() + (work.height() - frame.height()) / 2;
    x = std::max(work.left(), std::min(x, work.right() + 1 - frame.width()));
    y = std::max(work.top(), std::min(y, work.bottom() + 1 - frame.height()));
    move(x, y);
}

void CSerialDlg::SetTimer(int nIDEvent, int nElapse) {
    KillTimer(nIDEvent);
    if (nIDEvent == TIMER_CLOCK)
        m_nClockElapse = nElapse;
    m_timerIds[startTimer(nElapse)] = nIDEvent;
}

void CSerialDlg::KillTimer(int nIDEvent) {
    for (auto it = m_timerIds.begin(); it != m_timerIds.end(); ++it) {
        if (it->second == nIDEvent) {
            killTimer(it->first);
            m_timerIds.erase(it);
            return;
        }
    }
}

void CSerialDlg::timerEvent(QTimerEvent* event) {
    auto it = m_timerIds.find(event->timerId());
    if (it == m_timerIds.end()) {
        QDialog::timerEvent(event);
        return;
    }
    const int id = it->second;
    Dispatch(this, HandlerKind::Command, [this, id] { OnTimer(id); });
}

void CSerialDlg::SetItemText(int nID, const QString& text) {
    QWidget* item = m_items.Item(nID);
    if (auto* live = qobject_cast<LiveText*>(item))
        live->SetText(text);
    else if (auto* readout = qobject_cast<LiveEdit*>(item))
        readout->SetText(text);
    else if (auto* label = qobject_cast<QLabel*>(item))
        label->setText(text);
    else if (auto* button = qobject_cast<QPushButton*>(item))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(item))
        edit->setText(text);
}

QString CSerialDlg::GetItemText(int nID) const {
    QWidget* item = m_items.Item(nID);
    if (auto* live = qobject_cast<LiveText*>(item))
        return live->Text();
    if (auto* readout = qobject_cast<LiveEdit*>(item))
        return readout->Text();
    if (auto* label = qobject_cast<QLabel*>(item))
        return label->text();
    if (auto* button = qobject_cast<QPushButton*>(item))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(item))
        return edit->text();
    if (auto* edit = qobject_cast<MultilineEdit*>(item))
        return edit->toPlainText();
    return {};
}
