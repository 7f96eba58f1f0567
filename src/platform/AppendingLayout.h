#pragma once

#include <QElapsedTimer>
#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTimer>

class QPlainTextEdit;

// The layout of a plain-text box that takes a stream of small appends, as the
// receive box does. Readings without line breaks make one paragraph of up to
// 30,000 characters, and Qt lays a paragraph out whole, from its first
// character, after every change. Here appends are in the document at once,
// laid out and scrolled into view at the window's next frame, at most once a
// frame; and only the last line is laid out again: the lines the paragraph
// has filled are kept as blocks of their own, split off exactly where it
// wrapped, so the picture is the same. Those soft breaks are not text: Text()
// leaves them out, and JoinSoftBreaks() takes them away before the user edits.
class AppendingLayout : public QPlainTextDocumentLayout {
    Q_OBJECT

public:
    // document gets this layout; edit shows it and is scrolled by it.
    AppendingLayout(QTextDocument* document, QPlainTextEdit* edit);

    // Adds text at the end as one step, without an undo record; the caret
    // follows it to the end, and the document's listeners hear of it, when
    // it is laid out.
    void Append(const QString& text);

    // Lays out and scrolls now what appends left for the end of the frame.
    void Settle();
    // The window is about to paint: lays out and scrolls the appends if a
    // frame has passed since the last layout. Without it, appends are laid
    // out by a timer of their own.
    void SettleOnFrame();

    // The text from position from to position to, as the user entered or
    // received it: without soft breaks, with line breaks as '\n'.
    QString Text(int from, int to) const;

    // Joins the blocks that soft breaks split, so that an edit works on the
    // paragraphs as they were received.
    void JoinSoftBreaks();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    int LineStartOf(int position) const;
    void SplitFilledLines(const QTextBlock& block);
    bool Split(const QTextBlock& block, int at);

    QPlainTextEdit* m_edit;
    QTextCursor m_appender; // kept: a hundred appends a second need no new cursor each
    QTimer m_frame;
    QElapsedTimer m_sinceSettle;
    bool m_bAppending = false;
    bool m_bPending = false;
    QTextCursor m_pendingAt;  // in the first block appends changed; follows edits before it
    QTextCursor m_appendedAt; // where the appends since the last frame began
    int m_nBlocks;            // the block count that the base layout last saw
};
