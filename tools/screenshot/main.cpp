// Renders the main dialog to PNG files for the documentation: the compact
// window as it starts, and the full window with the curve fed by the test feed.
#include "app/SerialDlg.h"
#include "serial/QtCommControl.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: serialtemp-screenshot COMPACT.png FULL.png\n";
        return 2;
    }
    CSerialDlg dlg(std::make_unique<QtCommControl>());
    dlg.Create();
    dlg.show();
    QApplication::processEvents();
    if (!dlg.grab().save(QString::fromLocal8Bit(argv[1])))
        return 1;

    dlg.OnCurve();
    for (int i = 0; i < 60; ++i)
        dlg.OnTimer(TIMER_TEST);
    QApplication::processEvents();
    return dlg.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
