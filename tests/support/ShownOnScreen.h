#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

// What the screen shows over a control of a window: the window's own
// pixels there, not a paint of the control, as opaque 32-bit pixels.
inline QImage ShownOnScreen(QWidget* window, QWidget* control) {
    const QPoint at = control->mapTo(window, QPoint());
    return QGuiApplication::primaryScreen()
        ->grabWindow(window->winId(), at.x(), at.y(), control->width(), control->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A whole paint of a control, as the same pixels, to compare with the screen.
inline QImage PaintedWhole(QWidget* control) {
    return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
