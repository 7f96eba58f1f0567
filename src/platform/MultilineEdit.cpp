#include "platform/MultilineEdit.h"

#include "platform/AppendingLayout.h"
#include "platform/SteadyScrollBar.h"

#include <QMimeData>
#include <QResizeEvent>
#include <QTextDocument>

MultilineEdit::MultilineEdit(QWidget* parent) : QPlainTextEdit(parent) {
    auto* document = new QTextDocument(this);
    document->setDefaultFont(font());
    m_pLayout = new AppendingLayout(document, this);
    document->setDocumentLayout(m_pLayout);
    setDocument(document);
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
}

void MultilineEdit::Append(const QString& text) {
    m_pLayout->Append(text);
}

void MultilineEdit::Settle() {
    m_pLayout->Settle();
}

void MultilineEdit::SettleOnFrame() {
    m_pLayout->SettleOnFrame();
}

QString MultilineEdit::toPlainText() const {
    return m_pLayout->Text(0, document()->characterCount() - 1);
}

QMimeData* MultilineEdit::createMimeDataFromSelection() const {
    const QTextCursor selection = textCursor();
    auto* mime = new QMimeData;
    mime->setText(m_pLayout->Text(selection.selectionStart(), selection.selectionEnd()));
    return mime;
}

// Everything that edits the box, or selects by words, works on the
// paragraphs as received: the soft breaks go first.

void MultilineEdit::insertFromMimeData(const QMimeData* source) {
    m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::insertFromMimeData(source);
}

void MultilineEdit::keyPressEvent(QKeyEvent* event) {
    m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::keyPressEvent(event);
}

void MultilineEdit::inputMethodEvent(QInputMethodEvent* event) {
    m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::inputMethodEvent(event);
}

void MultilineEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void MultilineEdit::contextMenuEvent(QContextMenuEvent* event) {
    m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::contextMenuEvent(event);
}

// The breaks were made where lines wrapped at this width in this font.
void MultilineEdit::resizeEvent(QResizeEvent* event) {
    if (event->size().width() != event->oldSize().width())
        m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::resizeEvent(event);
}

void MultilineEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        m_pLayout->JoinSoftBreaks();
    QPlainTextEdit::changeEvent(event);
}
