#pragma once

#include <QObject>
#include <QString>

// Shows, over the port list, which device each COM number names at that
// moment, so a user sees that COM1 is /dev/ttyUSB0.
class PortListTooltip : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    static QString Text();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
