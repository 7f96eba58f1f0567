#include "controls/ColorButton.h"

#include "platform/DialogBuilder.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>

namespace {

// The caption is read into a buffer of 512 with room for the terminator.
constexpr qsizetype kMaxCaption = 511;

QColor Grey(int level) {
    return QColor(level, level, level);
}

} // namespace

bool CColorButton::Attach(int nID, QWidget* pParent, QColor crBackground, QColor crText,
                          QColor crDisabled, int nBevelWidth) {
    if (!pParent)
        return false;
    auto* button = qobject_cast<QPushButton*>(GetDlgItem(pParent, nID));
    if (!button)
        return false;

    m_pButton = button;
    m_pButton->installEventFilter(this);
    m_crBackground = crBackground;
    m_crText = crText;
    m_crDisabled = crDisabled;
    m_nBevelWidth = nBevelWidth;
    return true;
}

bool CColorButton::eventFilter(QObject* watched, QEvent* event) {
    // Only a button the template made owner-drawn is ours to paint; the others
    // keep the style's look.
    if (watched != m_pButton || event->type() != QEvent::Paint || !IsOwnerDraw(m_pButton))
        return QObject::eventFilter(watched, event);

    QPainter painter(m_pButton);
    unsigned state = 0;
    if (m_pButton->isDown())
        state |= ODS_SELECTED;
    if (!m_pButton->isEnabled())
        state |= ODS_DISABLED;
    if (m_pButton->hasFocus())
        state |= ODS_FOCUS;
    DrawItem({&painter, m_pButton->rect(), state});
    return true;
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& dis) {
    QPainter& dc = *dis.pDC;
    const QRect rc = dis.rcItem;
    const unsigned state = dis.itemState;
    const QRect focusRect = rc.adjusted(4, 4, -4, -4);
    const QString caption = m_pButton->text().left(kMaxCaption);

    DrawFilledRect(dc, rc, m_crBackground);
    DrawFrame(dc, rc, m_nBevelWidth);
    DrawButtonText(dc, rc, caption, m_crText);

    if (state & ODS_FOCUS) {
        DrawFocusRect(dc, focusRect);
        if (state & ODS_SELECTED) {
            DrawFilledRect(dc, rc, m_crBackground);
            DrawFrame(dc, rc, -1);
            DrawButtonText(dc, rc, caption, m_crText);
            DrawFocusRect(dc, focusRect);
        }
        return;
    }
    if (state & ODS_DISABLED)
        DrawButtonText(dc, rc, caption, m_crDisabled);
}

void CColorButton::DrawFilledRect(QPainter& dc, const QRect& rc, QColor color) {
    dc.fillRect(rc, color);
}

void CColorButton::DrawLine(QPainter& dc, int x1, int y1, int x2, int y2, QColor color) {
    // Bresenham, stopping one pixel short of (x2, y2) as a Windows line does.
    // Each row (or column) of pixels is filled as one run rather than stroked
    // with a cosmetic pen, which would draw the end point and, on a scaled
    // painter, leave gaps.
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy;
    const int minor = xMajor ? dy : dx;

    int x = x1;
    int y = y1;
    QPoint runStart(x, y);
    int err = major / 2;
    for (int i = 0; i < major; ++i) {
        err -= minor;
        const bool sideStep = err < 0;
        if (sideStep)
            err += major;
        const int nx = x + (xMajor || sideStep ? sx : 0);
        const int ny = y + (!xMajor || sideStep ? sy : 0);
        if (i + 1 == major || sideStep) {
            dc.fillRect(QRect::span(runStart, QPoint(x, y)), color);
            runStart = QPoint(nx, ny);
        }
        x = nx;
        y = ny;
    }
}

void CColorButton::DrawButtonText(QPainter& dc, const QRect& rc, const QString& text,
                                  QColor color) {
    const QPen oldPen = dc.pen();
    dc.setPen(color);
    dc.setBackgroundMode(Qt::TransparentMode);
    // Centred on one line; '&' marks a mnemonic, as in any button caption.
    dc.drawText(rc, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text);
    dc.setPen(oldPen);
}

void CColorButton::DrawFrame(QPainter& dc, QRect rc, int nWidth) {
    const int n = std::abs(nWidth);
    // Right and bottom are exclusive, as the edge coordinates below expect.
    int l = rc.left();
    int t = rc.top();
    int r = rc.left() + rc.width();
    int b = rc.top() + rc.height();
    for (int i = 0; i < n; ++i) {
        const QColor light = n == 1 ? Grey(255) : Grey(192 + 63 / (i + 1));
        const QColor dark = n == 1 ? Grey(128) : Grey(255 / (i + 2));
        QColor topLeft = light;
        QColor bottomRight = dark;
        if (nWidth < 0) {
            topLeft = dark;
            bottomRight = n > 1 && i == n - 1 ? Grey(1) : light;
        }
        DrawLine(dc, l, t, r, t, topLeft);
        DrawLine(dc, l, t, l, b, topLeft);
        DrawLine(dc, l + 1, b - 1, r, b - 1, bottomRight);
        DrawLine(dc, r - 1, t + 1, r - 1, b, bottomRight);
        ++l;
        ++t;
        --r;
        --b;
    }
}

void CColorButton::DrawFocusRect(QPainter& dc, const QRect& rc) {
    // Every other pixel of the one-pixel border, in a checkerboard fixed to the
    // device origin, XOR-ed with white: a second call restores the pixels.
    // Each pixel is touched once, corners included.
    const QPainter::CompositionMode oldMode = dc.compositionMode();
    dc.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const auto invert = [&dc](int x, int y) {
        if (((x + y) & 1) == 0)
            dc.fillRect(QRect(x, y, 1, 1), Qt::white);
    };
    const int l = rc.left();
    const int t = rc.top();
    const int r = rc.left() + rc.width() - 1;
    const int b = rc.top() + rc.height() - 1;
    if (l <= r && t <= b) {
        for (int x = l; x <= r; ++x) {
            invert(x, t);
            if (b != t)
                invert(x, b);
        }
        for (int y = t + 1; y < b; ++y) {
            invert(l, y);
            if (r != l)
                invert(r, y);
        }
    }
    dc.setCompositionMode(oldMode);
}
