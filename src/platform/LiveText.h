#pragma once

#include <QAccessible>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QRawFont>
#include <QString>
#include <QWidget>

// A static text that changes many times a second: the clock, the byte
// counters. It looks like the dialog's other static texts, but a change costs
// only the text itself: no size hint or layout work, no name-change event for
// assistive tools, and a repaint of its own rectangle over a picture of its
// backdrop, so nothing beneath it is repainted.
class LiveText : public QWidget {
    Q_OBJECT

public:
    LiveText(const QString& text, Qt::Alignment alignment, QWidget* parent);

    const QString& Text() const { return m_text; }
    // Repaints what the change touches when the event loop next paints.
    void SetText(const QString& text);
    // The same, painted at once: for a text that changes alone, it saves
    // posting a paint request and waking the event loop again for it.
    void SetTextNow(const QString& text);

    // Takes the pixels its parent and the siblings under it show there now
    // as its backdrop. Until then it paints over the parent's background.
    void TakeBackdrop();

    // What assistive tools are told it is: a role and a fixed name; they read
    // the text as its value when they ask for it.
    void SetAccessibleRole(QAccessible::Role role, const QString& name);
    QAccessible::Role AccessibleRole() const { return m_role; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PlacedGlyph {
        quint32 index;
        QPointF position; // of its origin on the baseline
        QRect ink;        // the pixels it may touch
    };

    struct GlyphMetrics {
        quint32 index; // 0: the font has no glyph for it
        qreal advance;
        QRectF ink; // from its origin
    };

    const GlyphMetrics& Metrics(QChar c);
    // The rectangle a change from the glyphs before touches.
    QRect Changed(const QList<PlacedGlyph>& before) const;
    void LayOut();

    QString m_text;
    Qt::Alignment m_alignment;
    QPixmap m_backdrop;
    QAccessible::Role m_role = QAccessible::StaticText;
    QRawFont m_font;
    QHash<char16_t, GlyphMetrics> m_metrics; // of the characters shown so far
    // The text's glyphs, placed once per change; none when the font lacks a
    // glyph or the text does not fit on one line, and the text is then drawn
    // as a label draws it.
    QList<PlacedGlyph> m_glyphs;
};
