#include "platform/AppendingLayout.h"

#include "platform/DisplayFrame.h"
#include "platform/SteadyScrollBar.h"

#include <QPlainTextEdit>
#include <QRegion>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace {

// The user state of a block that continues the block before it: the break
// between them is soft, made where the paragraph wrapped.
constexpr int kSoftBreak = 1;

bool FollowsSoftBreak(const QTextBlock& block) {
    return block.userState() == kSoftBreak;
}

// Whether text from offset at, as a block of its own, has the line break
// opportunities it has now. Line breaking looks at the characters around a
// break, and a block starts without those before it: in 25.5025.50 there is
// no opportunity, but a block starting .5025 has one after the dot.
bool BreaksAlike(const QString& text, int at) {
    QTextBoundaryFinder here(QTextBoundaryFinder::Line, text);
    const QString tail = text.mid(at);
    QTextBoundaryFinder alone(QTextBoundaryFinder::Line, tail);
    here.setPosition(at);
    alone.toStart();
    for (;;) {
        const qsizetype a = here.toNextBoundary();
        const qsizetype b = alone.toNextBoundary();
        if (a < 0 || b < 0)
            return a < 0 && b < 0;
        if (a - at != b)
            return false;
    }
}

} // namespace

AppendingLayout::AppendingLayout(QTextDocument* document, QPlainTextEdit* edit)
    : QPlainTextDocumentLayout(document), m_edit(edit), m_appender(document) {
    m_frame.setSingleShot(true);
    connect(&m_frame, &QTimer::timeout, this, &AppendingLayout::Settle);
}

void AppendingLayout::Append(const QString& text) {
    if (text.isEmpty())
        return;
    // Inside an edit step a cursor does not work out its x position, which
    // would need the paragraph laid out now. Moving to End would look for the
    // paragraph's direction, scanning all of a paragraph of digits.
    m_appender.beginEditBlock();
    m_appender.setPosition(document()->characterCount() - 1);
    m_bAppending = true;
    {
        // The box and assistive tools hear of the appends once a frame, as
        // they are laid out.
        const QSignalBlocker quiet(document());
        m_appender.insertText(text);
        m_appender.endEditBlock();
    }
    m_bAppending = false;
    if (!m_frame.isActive())
        m_frame.start(kLatestMs);
}

void AppendingLayout::SettleOnFrame() {
    if (m_bPending && (!m_sinceSettle.isValid() || m_sinceSettle.elapsed() >= kFrameMs))
        Settle();
}

void AppendingLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    if (!m_bAppending) {
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        return;
    }
    // An append waits for the frame; until then the box shows the lines it
    // had. Only the last block grew, and it is short.
    if (!m_bPending) {
        m_pendingAt = QTextCursor(document()->findBlock(from));
        m_appendedAt = QTextCursor(document());
        m_appendedAt.setPosition(from);
        m_appendedAt.setKeepPositionOnInsert(true);
        m_bPending = true;
    }
}

void AppendingLayout::Settle() {
    m_frame.stop();
    m_sinceSettle.start();
    // The scroll bar takes the new range and then the new value.
    const SteadyScrollBar::Batch scrollBar(m_edit->verticalScrollBar());
    QTextCursor repaintFrom; // null: nothing appended
    bool wholeLine = true;
    if (m_bPending) {
        m_bPending = false;
        const int from = m_pendingAt.block().position();
        // The line the appends began on keeps the characters it had, in their
        // places, unless the appends carried its last word to the next line.
        const int end = m_appendedAt.position();
        const int lineStart = LineStartOf(end - 1);
        QTextDocument* doc = document();
        emit doc->contentsChange(end, 0, doc->characterCount() - 1 - end);
        emit doc->contentsChanged();
        {
            // Nothing before the appends changed: the box is not repainted
            // whole, as the base layout would have it. The soft breaks are
            // not text: nobody hears of them.
            const QSignalBlocker quiet(this);
            const QSignalBlocker quietDocument(doc);
            // The last block is laid out, has its caret placed and is painted
            // at every frame: its glyphs are kept rather than shaped for each.
            document()->lastBlock().layout()->setCacheEnabled(true);
            QPlainTextDocumentLayout::documentChanged(from, 0, document()->characterCount() - from);
            for (QTextBlock block = m_pendingAt.block(); block.isValid(); block = block.next())
                blockBoundingRect(block); // lays it out
            repaintFrom = QTextCursor(document());
            if (lineStart >= 0 && LineStartOf(end - 1) == lineStart) {
                // Two characters back: the glyph before may join the next
                // (a ligature, kerning) and look different now.
                repaintFrom.setPosition(std::max(lineStart, end - 2));
                wholeLine = false;
            } else {
                repaintFrom.setPosition(lineStart >= 0 ? lineStart : end);
            }
            SplitFilledLines(document()->lastBlock());
        }
        emit documentSizeChanged(documentSize());
    }
    // A caret at the end has moved on with the appends already; putting it
    // there again would cost more than the append.
    const QTextCursor caret = m_edit->textCursor();
    if (caret.hasSelection() || !caret.atEnd()) {
        QTextCursor end(document());
        end.setPosition(document()->characterCount() - 1);
        m_edit->setTextCursor(end);
    } else if (!repaintFrom.isNull()) {
        emit document()->cursorPositionChanged(caret);
    }
    m_edit->ensureCursorVisible();
    if (!repaintFrom.isNull()) {
        // What the appends changed: from where they began to the end of the
        // line, and the lines below.
        const QRect start = m_edit->cursorRect(repaintFrom);
        QWidget* viewport = m_edit->viewport();
        const int left = wholeLine ? 0 : start.left() - 1;
        QRegion changed(left, start.top(), viewport->width(), start.height());
        changed += QRect(0, start.bottom() + 1, viewport->width(), viewport->height());
        viewport->update(changed);
    }
}

// The position where the line that holds position starts, as the box lays it
// out now; -1 if that line is not laid out.
int AppendingLayout::LineStartOf(int position) const {
    if (position < 0)
        return -1;
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0)
        return -1;
    const QTextLine line = layout->lineForTextPosition(position - block.position());
    return line.isValid() ? block.position() + line.textStart() : -1;
}

// Keeps the last block short: the lines it filled become a block of their
// own, split where they wrapped, so that the next append lays out a line and
// not the paragraph. Called with signals blocked: the picture stays.
void AppendingLayout::SplitFilledLines(const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    const QString text = block.text();
    for (int line = layout->lineCount() - 1; line > 0; --line) {
        const int at = layout->lineAt(line).textStart();
        if (BreaksAlike(text, at) && Split(block, at))
            return;
    }
}

// Splits block at offset at, unless the two blocks would not show the lines
// it shows now (a font's kerning across the split could do that).
bool AppendingLayout::Split(const QTextBlock& block, int at) {
    std::vector<std::pair<int, int>> lines; // start and length of each line
    const QTextLayout* layout = block.layout();
    for (int i = 0; i < layout->lineCount(); ++i)
        lines.emplace_back(layout->lineAt(i).textStart(), layout->lineAt(i).textLength());
    const int state = block.userState();
    const int position = block.position() + at;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setPosition(position);
    cursor.insertBlock();
    cursor.endEditBlock();
    QTextBlock filled = cursor.block().previous();
    QTextBlock rest = cursor.block();
    filled.setUserState(state);
    rest.setUserState(kSoftBreak);
    filled.layout()->setCacheEnabled(false);
    rest.layout()->setCacheEnabled(true);
    std::vector<std::pair<int, int>> now;
    for (const auto& [part, offset] : {std::pair(filled, 0), std::pair(rest, at)}) {
        blockBoundingRect(part); // lays it out
        for (int i = 0; i < part.layout()->lineCount(); ++i) {
            const QTextLine line = part.layout()->lineAt(i);
            now.emplace_back(offset + line.textStart(), line.textLength());
        }
    }
    if (now == lines)
        return true;
    cursor.beginEditBlock();
    cursor.setPosition(position);
    cursor.deleteChar();
    cursor.endEditBlock();
    cursor.block().setUserState(state);
    blockBoundingRect(cursor.block());
    return false;
}

QString AppendingLayout::Text(int from, int to) const {
    const QTextDocument* doc = document();
    const QString raw = doc->toRawText();
    QString text;
    text.reserve(to - from);
    int at = from;
    for (QTextBlock block = doc->findBlock(from).next(); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (!FollowsSoftBreak(block))
            continue;
        const int separator = block.position() - 1;
        text += QStringView(raw).mid(at, separator - at);
        at = separator + 1;
    }
    text += QStringView(raw).mid(at, to - at);
    // As QTextDocument::toPlainText gives them.
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
        else if (c == QChar::Nbsp)
            c = u' ';
    }
    return text;
}

void AppendingLayout::JoinSoftBreaks() {
    QTextDocument* doc = document();
    std::vector<int> separators;
    for (QTextBlock block = doc->firstBlock(); block.isValid(); block = block.next()) {
        if (FollowsSoftBreak(block))
            separators.push_back(block.position() - 1);
    }
    if (separators.empty())
        return;
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.deleteChar();
    }
    cursor.endEditBlock();
    // A joined block keeps the state of the block joined to it.
    for (QTextBlock block = doc->firstBlock(); block.isValid(); block = block.next()) {
        if (FollowsSoftBreak(block))
            block.setUserState(-1);
    }
}
