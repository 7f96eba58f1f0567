#include "support/DialogDriver.h"

#include "app/SerialDlg.h"

#include <QComboBox>
#include <QPushButton>

void ClickItem(CSerialDlg& dlg, int id) {
    qobject_cast<QPushButton*>(dlg.GetDlgItem(id))->click();
}

void SelectItem(CSerialDlg& dlg, int id, int index) {
    auto* list = qobject_cast<QComboBox*>(dlg.GetDlgItem(id));
    list->setCurrentIndex(index);
    emit list->activated(index);
}
