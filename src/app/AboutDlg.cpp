#include "app/AboutDlg.h"

#include "app/DialogColors.h"
#include "platform/DialogBuilder.h"
#include "resources/DialogTemplates.h"
#include "resources/Icons.h"

#include <QKeyEvent>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    const QIcon icon = AppIcon();
    BuildDialog(*this, g_tmplAboutBox, icon);
    SetDialogBkColor(this);
    setWindowIcon(icon);
}

int CAboutDlg::DoModal() {
    return exec();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    // With no button to press, Enter closes the box like Escape.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
