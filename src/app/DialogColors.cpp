#include "app/DialogColors.h"

#include <QPalette>
#include <QWidget>

void SetDialogBkColor(QWidget* dialog) {
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, QColor(106, 138, 50));
    palette.setColor(QPalette::WindowText, Qt::black);
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}
