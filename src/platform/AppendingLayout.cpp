#include "platform/AppendingLayout.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Fast enough for the eye, and it bounds the layout work under a flood.
constexpr int kFrameMs = 40;

} // namespace

AppendingLayout* AppendingLayout::Install(QPlainTextEdit* edit) {
    const QString text = edit->toPlainText();
    auto* document = new QTextDocument(edit);
    document->setDefaultFont(edit->font());
    auto* layout = new AppendingLayout(document, edit);
    document->setDocumentLayout(layout);
    edit->setDocument(document);
    edit->setPlainText(text);
    return layout;
}

AppendingLayout::AppendingLayout(QTextDocument* document, QPlainTextEdit* edit)
    : QPlainTextDocumentLayout(document), m_edit(edit), m_nBlocks(document->blockCount()) {
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &AppendingLayout::Settle);
}

void AppendingLayout::Append(const QString& text) {
    if (text.isEmpty())
        return;
    QTextCursor cursor(document());
    // Inside an edit step a cursor does not work out its x position, which
    // would need the paragraph laid out now. Moving to End would look for the
    // paragraph's direction, scanning all of a paragraph of digits.
    cursor.beginEditBlock();
    cursor.setPosition(document()->characterCount() - 1);
    m_bAppending = true;
    cursor.insertText(text);
    cursor.endEditBlock();
    m_bAppending = false;
    if (!m_frame.isActive())
        m_frame.start();
}

void AppendingLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    const QTextDocument* doc = document();
    // An append that stays in the last paragraph waits for the frame.
    if (m_bAppending && charsRemoved == 0 && doc->blockCount() == m_nBlocks &&
        doc->findBlock(from) == doc->lastBlock()) {
        if (!m_bPending) {
            m_pendingAt = QTextCursor(doc->lastBlock());
            // Each later insertion would walk the old lines; without them, a
            // paint before the frame lays the paragraph out as it is.
            doc->lastBlock().clearLayout();
        }
        m_bPending = true;
        return;
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    m_nBlocks = doc->blockCount();
}

void AppendingLayout::Settle() {
    if (m_bPending) {
        m_bPending = false;
        const QTextBlock block = m_pendingAt.block();
        QPlainTextDocumentLayout::documentChanged(block.position(), 0, block.length());
    }
    QTextCursor end(document());
    end.setPosition(document()->characterCount() - 1);
    m_edit->setTextCursor(end);
    m_edit->ensureCursorVisible();
}
