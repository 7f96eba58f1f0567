#include "resources/Icons.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 16.0;
    // Green tile in the dialog's colour.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(106, 138, 50));
    p.drawRoundedRect(QRectF(0.5 * u, 0.5 * u, 15 * u, 15 * u), 3 * u, 3 * u);
    // Thermometer: white tube with a red bulb and column.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6 * u, 2 * u, 4 * u, 10 * u), 2 * u, 2 * u);
    p.drawEllipse(QPointF(8 * u, 12 * u), 3 * u, 3 * u);
    p.setBrush(QColor(220, 30, 30));
    p.drawRect(QRectF(7.2 * u, 6 * u, 1.6 * u, 6 * u));
    p.drawEllipse(QPointF(8 * u, 12 * u), 2 * u, 2 * u);
    // Scale ticks on the right.
    p.setPen(QPen(Qt::white, std::max(1.0, 0.8 * u)));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(11 * u, (4 + 2.5 * i) * u), QPointF(13 * u, (4 + 2.5 * i) * u));
    return pixmap;
}

} // namespace

QIcon AppIcon() {
    QIcon icon;
    icon.addPixmap(DrawIcon(16));
    icon.addPixmap(DrawIcon(32));
    return icon;
}
