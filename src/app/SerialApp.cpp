#include "app/SerialApp.h"

#include "app/SerialDlg.h"
#include "platform/MessageBox.h"
#include "platform/TerminationSignals.h"
#include "platform/Translations.h"
#include "serial/QtCommControl.h"

#include <QApplication>

#include <optional>
#include <system_error>

CSerialApp theApp;

namespace {

// Ends the dialog as Cancel does. A modal box over it (a message box, the
// About box, the save dialog) runs its own loop inside the dialog's, which
// would hold the program until the user closed the box: it goes first.
void CancelModalLoops(QDialog& dlg) {
    while (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        if (box == &dlg)
            break;
        box->reject();
        if (QApplication::activeModalWidget() == box)
            break;
    }
    dlg.reject();
}

} // namespace

bool CSerialApp::InitInstance() {
    const auto translations = InstallQtTranslations();
    // Logout, a closed terminal or Ctrl+C end the program as Cancel does, so
    // that the port closes and its lock file goes. Made before the dialog and
    // so undone after it: a signal while the port closes waits in the pipe.
    std::optional<TerminationSignals> termination;
    try {
        termination.emplace();
    } catch (const std::system_error& error) {
        qWarning("%s: %s; ending with the session may leave the port's lock file behind",
                 qPrintable(AppName()), error.what());
    }
    CSerialDlg dlg(std::make_unique<QtCommControl>());
    if (termination)
        QObject::connect(&*termination, &TerminationSignals::Caught, &dlg,
                         [&dlg] { CancelModalLoops(dlg); });
    dlg.DoModal();
    return false;
}
