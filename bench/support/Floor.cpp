#include "support/Floor.h"

#include "platform/DisplayFrame.h"
#include "serial/ReceiveRules.h"

#include <QFontMetricsF>
#include <QPainter>

#include <utility>

namespace {

constexpr QRect kClock{100, 100, 75, 14};
// As large as the program's count of received bytes.
constexpr QRect kCount{200, 100, 40, 13};
// As large as the text area of the program's receive box.
constexpr QRect kBox{10, 130, 230, 65};
// As large as the program's chart, its labels and its readout.
constexpr QRect kCurve{8, 220, 485, 190};
constexpr QRect kLabels{8, 220, 21, 190};
constexpr QRect kReadout{310, 195, 75, 21};
constexpr int kStep = 8;
// The program's receive box empties when it would hold more.
constexpr int kBoxBytes = 10000;

} // namespace

Floor::Floor(Shown shown, Box box, bool curve)
    : m_shown(shown), m_bCurve(curve), m_line(QFontMetricsF(font()).lineSpacing()) {
    resize(curve ? QSize(500, 420) : QSize(300, 200));
    startTimer(10);
    if (box == Box::Drawn)
        return;
    // Its text area as large as kBox, with the program's frame and bar.
    m_textBox = new QPlainTextEdit(this);
    m_textBox->setGeometry(kBox.adjusted(-6, -6, 6 + 17, 6));
    m_textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textBox->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_textBox->setUndoRedoEnabled(false);
    // The program's box is not where the focus is while readings come.
    m_textBox->setFocusPolicy(Qt::NoFocus);
}

void Floor::ShowReading(const QByteArray& bytes) {
    ++m_nReadings;
    m_bCountChanged = true;
    m_nTextBoxBytes += int(bytes.size());
    for (char byte : bytes) {
        if (m_shown == Shown::Text) {
            m_unshown += QChar(uchar(byte));
        } else {
            m_unshown += QLatin1Char(NibbleToHexChar(uchar(byte) >> 4));
            m_unshown += QLatin1Char(NibbleToHexChar(uchar(byte) & 15));
            m_unshown += u' ';
        }
    }
    if (m_bCurve) {
        update(kReadout);
        ++m_nUnshown;
    }
    ShowOnFrame();
}

const QStaticText& Floor::Glyph(QChar c) {
    auto it = m_glyphs.find(c.unicode());
    if (it == m_glyphs.end()) {
        it = m_glyphs.insert(c.unicode(), QStaticText(QString(c)));
        it->prepare(QTransform(), font());
    }
    return *it;
}

void Floor::ShowOnFrame() {
    if (m_unshown.isEmpty() && m_nUnshown == 0)
        return;
    if (m_sinceFrame.isValid() && m_sinceFrame.elapsed() < kFrameMs)
        return;
    m_sinceFrame.start();
    const QString shown = std::exchange(m_unshown, {});
    if (m_textBox)
        InsertInTextBox(shown);
    else
        DrawInBox(shown);
    if (m_nUnshown > 0)
        StepChart();
}

void Floor::DrawInBox(const QString& shown) {
    const int line = qRound(m_line);
    const qreal lastLine = kBox.bottom() + 1 - m_line;
    QRectF placed; // what this frame put on the last line
    for (QChar c : shown) {
        const qreal width = Glyph(c).size().width();
        if (m_x + width > kBox.width()) {
            // What the line got is marked before it moves up with it.
            update(std::exchange(placed, {}).toAlignedRect());
            m_x = 0;
            scroll(0, -line, kBox);
            for (Placed& before : m_placed)
                before.at.ry() -= line;
            update(QRect(kBox.left(), qRound(lastLine), kBox.width(), line));
        }
        const QPointF at(kBox.left() + m_x, lastLine);
        m_placed.push_back({c, at});
        placed |= QRectF(at, QSizeF(width, m_line));
        m_x += width;
    }
    update(placed.toAlignedRect());
}

void Floor::InsertInTextBox(const QString& shown) {
    if (m_nTextBoxBytes > kBoxBytes) {
        m_textBox->clear();
        m_nTextBoxBytes = 0;
        m_x = 0;
    }
    // A line is broken a little short of the box's width less its margins:
    // one the box wrapped itself would cost it a second line to lay out.
    const QFontMetricsF metrics(m_textBox->font());
    const qreal lineWidth =
        m_textBox->viewport()->width() - 2 * m_textBox->document()->documentMargin() - 2;
    QString lines;
    for (QChar c : shown) {
        const qreal width = metrics.horizontalAdvance(c);
        if (m_x + width > lineWidth) {
            lines += u'\n';
            m_x = 0;
        }
        lines += c;
        m_x += width;
    }
    m_textBox->moveCursor(QTextCursor::End);
    m_textBox->insertPlainText(lines);
}

void Floor::StepChart() {
    const int shift = kStep * std::exchange(m_nUnshown, 0);
    scroll(-shift, 0, kCurve);
    m_rcStrip =
        QRect(kCurve.right() + 1 - shift - kStep, kCurve.top(), shift + kStep, kCurve.height());
    update(m_rcStrip);
    update(kLabels);
}

void Floor::timerEvent(QTimerEvent*) {
    ++m_nTicks;
    update(kClock);
    if (std::exchange(m_bCountChanged, false))
        update(kCount);
    ShowOnFrame();
}

void Floor::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(kClock, m_nTicks % 2 ? Qt::black : Qt::white);
    if (event->region().intersects(kCount))
        p.fillRect(kCount, m_nReadings % 2 ? Qt::black : Qt::white);
    if (!m_textBox && event->region().intersects(kBox)) {
        // A new line's rectangle is cleared; the characters are drawn over it.
        for (const QRect& r : event->region() & kBox)
            p.fillRect(r, Qt::white);
        for (const Placed& placed : std::exchange(m_placed, {}))
            p.drawStaticText(placed.at, Glyph(placed.c));
    }
    if (!m_bCurve)
        return;
    const QColor reading = m_nReadings % 2 ? Qt::black : Qt::white;
    p.fillRect(m_rcStrip, reading);
    p.fillRect(kLabels, reading);
    p.fillRect(kReadout, reading);
}
