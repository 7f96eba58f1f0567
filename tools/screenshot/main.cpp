// Renders the main dialog to PNG files for the documentation: the compact
// window as it starts, and the full window with the curve fed by the test feed.
#include "app/SerialDlg.h"
#include "resources/Resource.h"
#include "serial/QtCommControl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTextStream>
#include <QTimer>

namespace {

void Click(const CSerialDlg& dlg, int id) {
    static_cast<QAbstractButton*>(dlg.GetDlgItem(id))->click();
}

} // namespace

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

    // The hidden test button starts the feed: a value every 500 ms.
    Click(dlg, IDC_CURVE);
    Click(dlg, IDC_TEST);
    QTimer::singleShot(60 * 500 + 250, &app, &QApplication::quit);
    QApplication::exec();
    return dlg.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
