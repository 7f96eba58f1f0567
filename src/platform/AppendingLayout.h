#pragma once

#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTimer>

class QPlainTextEdit;

// The layout of a plain-text box that takes a stream of small appends, as the
// receive box does. Readings without line breaks make one paragraph of up to
// 30,000 characters, and Qt lays a paragraph out whole after every change
// (milliseconds for a paragraph that long). Appends made through Append are in
// the document at once, but the paragraph they grew is laid out again, and the
// caret at the end scrolled into view, once per frame at most.
class AppendingLayout : public QPlainTextDocumentLayout {
public:
    // Gives edit a new document laid out by this class, with the same text
    // and font; the document, and with it the layout, belongs to edit.
    static AppendingLayout* Install(QPlainTextEdit* edit);

    // Adds text at the end as one step, without an undo record; the caret
    // follows it to the end.
    void Append(const QString& text);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    AppendingLayout(QTextDocument* document, QPlainTextEdit* edit);
    void Settle();

    QPlainTextEdit* m_edit;
    QTimer m_frame;
    bool m_bAppending = false;
    bool m_bPending = false;
    QTextCursor m_pendingAt; // in the paragraph that appends grew; follows edits before it
    int m_nBlocks;           // the block count that the base layout last saw
};
