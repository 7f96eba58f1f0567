#include "app/SerialApp.h"

#include "app/SerialDlg.h"
#include "serial/QtCommControl.h"

#include <QPalette>
#include <QWidget>

CSerialApp theApp;

void SetDialogBkColor(QWidget* dialog) {
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, QColor(106, 138, 50));
    palette.setColor(QPalette::WindowText, Qt::black);
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

bool CSerialApp::InitInstance() {
    CSerialDlg dlg(std::make_unique<QtCommControl>());
    dlg.DoModal();
    return false;
}
