#include "platform/X11Repaint.h"

#include <QByteArray>
#include <QtGlobal>

void RepaintByCopyOnX11() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}
