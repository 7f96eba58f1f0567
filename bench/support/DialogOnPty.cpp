#include "support/DialogOnPty.h"

#include "support/DialogDriver.h"

#include "app/Globals.h"
#include "resources/Resource.h"
#include "serial/QtCommControl.h"

#include <QCoreApplication>

#include <stdexcept>

namespace {

// Publishes the pair as COM1 before the dialog exists, so that its first
// configuration finds the link.
std::unique_ptr<CommControl> ControlForCom1(const PseudoTerminal& pty, CommControl*& control) {
    pty.PublishAs(1);
    auto made = std::make_unique<QtCommControl>();
    control = made.get();
    return made;
}

} // namespace

DialogOnPty::DialogOnPty(int respBytes, bool curve) : m_dlg(ControlForCom1(m_pty, m_pControl)) {
    // A new dialog starts from the program's start state, as a new run does.
    ResetGlobals();
    m_dlg.Create();
    m_dlg.show();
    SelectItem(m_dlg, IDC_RESPBYTES, respBytes - 1);
    if (curve)
        ClickItem(m_dlg, IDC_CURVE);
    ClickItem(m_dlg, IDC_OPEN);
    if (m_dlg.GetItemText(IDC_OPEN) != QStringLiteral("关闭串口"))
        throw std::runtime_error("COM1 did not open on the pseudo-terminal");
    QCoreApplication::processEvents();
}
