#include "platform/LiveText.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QVarLengthArray>
#include <QWindow>

#include <cmath>

namespace {

// The text as assistive tools see it: its value, asked for when they want it.
class LiveTextAccessible : public QAccessibleWidget {
public:
    explicit LiveTextAccessible(LiveText* text) : QAccessibleWidget(text) {}

    QAccessible::Role role() const override { return Live()->AccessibleRole(); }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Live()->Text() : QAccessibleWidget::text(t);
    }

private:
    LiveText* Live() const { return static_cast<LiveText*>(widget()); }
};

QAccessibleInterface* LiveTextFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(LiveText::staticMetaObject.className()) &&
        object->isWidgetType())
        return new LiveTextAccessible(static_cast<LiveText*>(object));
    return nullptr;
}

// How a label draws plain text: wrapped at words, left to right.
int LabelFlags(Qt::Alignment alignment) {
    return int(alignment) | Qt::TextWordWrap | Qt::TextForceLeftToRight;
}

} // namespace

LiveText::LiveText(const QString& text, Qt::Alignment alignment, QWidget* parent)
    : QWidget(parent), m_text(text), m_alignment(alignment) {
    static const bool kFactory = (QAccessible::installFactory(LiveTextFactory), true);
    Q_UNUSED(kFactory);
    m_font = QRawFont::fromFont(font());
    LayOut();
}

// The few characters a clock or a counter shows, looked up in the font once.
const LiveText::GlyphMetrics& LiveText::Metrics(QChar c) {
    const auto it = m_metrics.constFind(c.unicode());
    if (it != m_metrics.cend())
        return *it;
    const QList<quint32> glyph = m_font.glyphIndexesForString(QString(c));
    GlyphMetrics metrics{0, 0, {}};
    if (glyph.size() == 1 && glyph[0] != 0)
        metrics = {glyph[0], m_font.advancesForGlyphIndexes(glyph)[0].x(),
                   m_font.boundingRect(glyph[0])};
    return *m_metrics.insert(c.unicode(), metrics);
}

void LiveText::SetText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    const QList<PlacedGlyph> before = m_glyphs;
    LayOut();
    update(Changed(before));
}

void LiveText::SetTextNow(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    const QList<PlacedGlyph> before = m_glyphs;
    LayOut();
    // Painted at once only on a window the screen shows already: before,
    // painting holds up the window's first appearance.
    const QWindow* shown = window()->windowHandle();
    if (shown && shown->isExposed())
        repaint(Changed(before));
    else
        update(Changed(before));
}

// Glyphs that stay where they were need no repaint: a clock changes its last
// digits only. Without glyphs on either side, the whole text may have moved.
QRect LiveText::Changed(const QList<PlacedGlyph>& before) const {
    if (before.isEmpty() || m_glyphs.isEmpty())
        return rect();
    QRect changed;
    for (qsizetype i = 0; i < std::max(before.size(), m_glyphs.size()); ++i) {
        const PlacedGlyph* old = i < before.size() ? &before[i] : nullptr;
        const PlacedGlyph* now = i < m_glyphs.size() ? &m_glyphs[i] : nullptr;
        if (old && now && old->index == now->index && old->position == now->position)
            continue;
        if (old)
            changed |= old->ink;
        if (now)
            changed |= now->ink;
    }
    return changed & rect();
}

void LiveText::TakeBackdrop() {
    QWidget* parent = parentWidget();
    QPixmap backdrop(size());
    const bool visible = isVisibleTo(parent);
    setVisible(false);
    parent->render(&backdrop, QPoint(), QRegion(geometry()));
    setVisible(visible);
    m_backdrop = backdrop;
    setAttribute(Qt::WA_OpaquePaintEvent);
    update();
}

void LiveText::SetAccessibleRole(QAccessible::Role role, const QString& name) {
    m_role = role;
    setAccessibleName(name);
}

void LiveText::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        m_font = QRawFont::fromFont(font());
        m_metrics.clear();
        LayOut();
        update();
    }
    QWidget::changeEvent(event);
}

void LiveText::resizeEvent(QResizeEvent* event) {
    LayOut();
    QWidget::resizeEvent(event);
}

// Places the glyphs where a label would: on the first line, the way the text
// drawing of a label positions it, but without shaping and line breaking,
// which cost far more than the drawing for a text this short.
void LiveText::LayOut() {
    m_glyphs.clear();
    if (!(m_alignment & Qt::AlignTop))
        return;
    QVarLengthArray<const GlyphMetrics*, 16> metrics;
    qreal width = 0;
    for (QChar c : m_text) {
        metrics.append(&Metrics(c));
        if (metrics.back()->index == 0)
            return;
        width += metrics.back()->advance;
    }
    if (width > this->width())
        return;
    qreal x = 0;
    if (m_alignment & Qt::AlignRight)
        x = this->width() - width;
    else if (m_alignment & Qt::AlignHCenter)
        x = (this->width() - width) / 2;
    // A label sets its first line on a whole pixel below the font's leading.
    const qreal baseline = std::ceil(std::max<qreal>(m_font.leading(), 0)) + m_font.ascent();
    m_glyphs.reserve(metrics.size());
    for (const GlyphMetrics* glyph : metrics) {
        const QPointF position(x, baseline);
        // Antialiasing may touch the pixel beyond the outline on either side.
        const QRect ink = glyph->ink.translated(position).toAlignedRect().adjusted(-1, -1, 1, 1);
        m_glyphs.append({glyph->index, position, ink});
        x += glyph->advance;
    }
}

void LiveText::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (!m_backdrop.isNull())
        painter.drawPixmap(area, m_backdrop, area);
    if (m_glyphs.isEmpty()) {
        style()->drawItemText(&painter, rect(), LabelFlags(m_alignment), palette(), isEnabled(),
                              m_text, foregroundRole());
        return;
    }
    // Only the glyphs in the area: a tick of the clock repaints a digit or two.
    QList<quint32> indexes;
    QList<QPointF> positions;
    for (const PlacedGlyph& glyph : m_glyphs) {
        if (glyph.ink.intersects(area)) {
            indexes.append(glyph.index);
            positions.append(glyph.position);
        }
    }
    QGlyphRun run;
    run.setRawFont(m_font);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    painter.setPen(palette().color(isEnabled() ? palette().currentColorGroup() : QPalette::Disabled,
                                   foregroundRole()));
    painter.drawGlyphRun(QPointF(), run);
}
