#include "platform/LiveEdit.h"

#include <QAccessible>
#include <QEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

namespace {

// Pictures of about 80 by 24 pixels: some 80 texts, a sensor drifting over
// five degrees in sixteenths.
constexpr qsizetype kPictureBytes = 512 * 1024;

// What the user does to the edit, after which it holds the text it shows.
bool IsUserEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::KeyPress:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

LiveEdit::LiveEdit(QWidget* parent) : QLineEdit(parent), m_pictures(kPictureBytes) {}

QString LiveEdit::Text() const {
    return m_pending ? m_shown : text();
}

void LiveEdit::SetText(const QString& text) {
    if (text == Text())
        return;
    const bool plain = ShowsPlainText() && !QAccessible::isActive();
    if (plain && m_pictures.contains(text)) {
        m_shown = text;
        m_pending = true;
        update();
        emit Shown(text);
        return;
    }
    m_pending = false;
    setText(text);
    emit Shown(text);
}

bool LiveEdit::event(QEvent* event) {
    if (IsUserEvent(event->type()))
        Settle();
    return QLineEdit::event(event);
}

void LiveEdit::paintEvent(QPaintEvent* event) {
    const bool plain = ShowsPlainText();
    const QPixmap* picture = plain ? m_pictures.object(Text()) : nullptr;
    if (picture == nullptr) {
        Settle();
        QLineEdit::paintEvent(event);
        if (plain && event->region().contains(rect()))
            TakePicture();
        return;
    }
    QPainter painter(this);
    for (const QRect& rect : event->region())
        painter.drawPixmap(rect, *picture, rect);
}

void LiveEdit::changeEvent(QEvent* event) {
    // A new font, palette, style or state paints every text anew.
    m_pictures.clear();
    QLineEdit::changeEvent(event);
}

void LiveEdit::resizeEvent(QResizeEvent* event) {
    m_pictures.clear();
    QLineEdit::resizeEvent(event);
}

bool LiveEdit::ShowsPlainText() const {
    return isVisible() && isEnabled() && !hasFocus() && !hasSelectedText();
}

void LiveEdit::TakePicture() {
    // The pixels the edit just painted of itself, as the screen shows them,
    // taken from the window's surface: a render of the edit would first lay
    // out every hidden widget of the window, and measure their texts.
    QPainter painter(this);
    const auto* surface = dynamic_cast<const QImage*>(painter.paintEngine()->paintDevice());
    if (surface == nullptr || surface->devicePixelRatio() != 1)
        return;
    const QRect at = painter.deviceTransform().mapRect(rect());
    if (!surface->rect().contains(at))
        return;
    auto* picture = new QPixmap(QPixmap::fromImage(surface->copy(at)));
    // One too large to keep is deleted, and the edit paints itself.
    m_pictures.insert(text(), picture, qsizetype(picture->width()) * picture->height() * 4);
}

void LiveEdit::Settle() {
    if (!m_pending)
        return;
    m_pending = false;
    setText(m_shown);
}
