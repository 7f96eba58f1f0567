#include "platform/WindowPlacement.h"

#include <QWidget>
#include <QWindow>

void SetWindowTopMost(QWidget* window, bool topMost) {
    // QWidget::setWindowFlags recreates the native window and hides the
    // widget meanwhile, and hiding a dialog ends its modal loop. The native
    // window takes the flag as it is (on X11 a _NET_WM_STATE_ABOVE request);
    // the widget is only told, so that it keeps the flag when it is created again.
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(flags);
}
