#pragma once

#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"

#include "app/SerialDlg.h"

// The real dialog over the real control, shown on the current platform, with
// COM1 opened through its own open button on a pseudo-terminal that a port
// link in a temporary configuration folder names. The test plays the board
// on Board().
class DialogOnPty {
public:
    // respBytes is the response byte count chosen in the list; curve turns
    // the curve mode on before the port opens.
    DialogOnPty(int respBytes, bool curve);

    CSerialDlg& Dialog() { return m_dlg; }
    // The control the dialog hosts, to watch its events.
    CommControl& Control() { return *m_pControl; }
    PseudoTerminal& Board() { return m_pty; }

private:
    TempConfigHome m_home;
    PseudoTerminal m_pty;
    CommControl* m_pControl = nullptr;
    CSerialDlg m_dlg;
};
