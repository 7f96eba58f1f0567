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
std::unique_ptr<CommControl> ControlForCom1(const PseudoTerminal& pty) {
    pty.PublishAs(1);
    return std::make_unique<QtCommControl>();
}

} // namespace

DialogOnPty::DialogOnPty(int respBytes, bool curve) : m_dlg(ControlForCom1(m_pty)) {
    // A new dialog starts with the port closed, as a new run of the program does.
    g_bPortOpen = false;
    m_dlg.Create();
    m_dlg.show();
    SelectItem(m_dlg, IDC_RESPBYTES, respBytes - 1);
    if (curve)
        ClickItem(m_dlg, IDC_CURVE);
    ClickItem(m_dlg, IDC_OPEN);
    if (!g_bPortOpen)
        throw std::runtime_error("COM1 did not open on the pseudo-terminal");
    QCoreApplication::processEvents();
}
