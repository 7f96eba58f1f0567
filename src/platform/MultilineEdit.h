#pragma once

#include <QPlainTextEdit>

class AppendingLayout;

// A multi-line edit control, as the dialog manager makes one. Text appended
// at its end is laid out at most once a frame and costs what it adds, not
// what the box holds (AppendingLayout); the blocks it keeps long paragraphs
// in stay out of everything the user gets from the box: its text, what is
// copied or dragged out, and the paragraphs an edit works on.
class MultilineEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MultilineEdit(QWidget* parent);

    // Adds text at the end without an undo record; the caret follows it to
    // the end and into view when it is laid out.
    void Append(const QString& text);
    // Lays out and scrolls now what appends left for the end of the frame.
    void Settle();
    // The window is about to paint (AppendingLayout::SettleOnFrame).
    void SettleOnFrame();

    // The text as typed or received. It hides QPlainTextEdit::toPlainText,
    // which would show a line break wherever a long paragraph was split.
    QString toPlainText() const;

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    AppendingLayout* m_pLayout;
};
