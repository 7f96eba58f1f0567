#pragma once

#include <QDialog>

// The About box: no buttons; Escape, Enter or the close box close it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
    int DoModal();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
