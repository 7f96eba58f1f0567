#include "app/SerialApp.h"

#include "app/SerialDlg.h"
#include "platform/Translations.h"
#include "serial/QtCommControl.h"

CSerialApp theApp;

bool CSerialApp::InitInstance() {
    const auto translations = InstallQtTranslations();
    CSerialDlg dlg(std::make_unique<QtCommControl>());
    dlg.DoModal();
    return false;
}
