#include "app/AboutDlg.h"
#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/Dispatch.h"
#include "platform/WindowPlacement.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

namespace {

constexpr unsigned SC_CLOSE = 0xF060;

} // namespace

// Window managers keep their own menus closed to programs, so the dialog has
// its own system menu: Alt+Space, or a right click on the background.
void CSerialDlg::BuildSystemMenu() {
    m_pSysMenu = new QMenu(this);
    auto addCommand = [this](const QString& text, unsigned id) {
        QAction* action = m_pSysMenu->addAction(text);
        connect(action, &QAction::triggered, this, [this, id] {
            Dispatch(this, HandlerKind::Command, [this, id] { OnSysCommand(id); });
        });
        return action;
    };
    addCommand(QStringLiteral("关闭(&C)"), SC_CLOSE);

    const QString strAboutMenu = LoadResString(IDS_ABOUTBOX);
    const QString strLockMenu = LoadResString(IDS_LOCKWINDOW);
    const QString strMinimizeMenu = LoadResString(IDS_MINIMIZE);
    if (!strAboutMenu.isEmpty()) {
        m_pSysMenu->addSeparator();
        addCommand(strAboutMenu, IDM_ABOUTBOX);
        m_pSysMenu->addSeparator();
        m_pLockAction = addCommand(strLockMenu, IDM_LOCKWINDOW);
        m_pLockAction->setCheckable(true);
        m_pSysMenu->addSeparator();
        addCommand(strMinimizeMenu, IDM_MINIMIZE);
    }
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this), &QShortcut::activated, this,
            [this] { m_pSysMenu->popup(mapToGlobal(QPoint(0, 0))); });
}

void CSerialDlg::contextMenuEvent(QContextMenuEvent* event) {
    m_pSysMenu->popup(event->globalPos());
}

void CSerialDlg::OnSysCommand(unsigned nID) {
    switch (nID & 0xFFF0) {
    case IDM_LOCKWINDOW:
        SetWindowTopMost(this, !g_bTopMost);
        if (m_pLockAction)
            m_pLockAction->setChecked(!g_bTopMost);
        g_bTopMost = !g_bTopMost;
        break;
    case IDM_ABOUTBOX: {
        CAboutDlg dlgAbout(this);
        dlgAbout.DoModal();
        break;
    }
    case IDM_MINIMIZE:
        showMinimized();
        break;
    case SC_CLOSE:
        reject();
        break;
    default:
        break;
    }
}
