#include "app/SerialApp.h"

#include "app/SerialDlg.h"
#include "serial/QtCommControl.h"

CSerialApp theApp;

bool CSerialApp::InitInstance() {
    CSerialDlg dlg(std::make_unique<QtCommControl>());
    dlg.DoModal();
    return false;
}
