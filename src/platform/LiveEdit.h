#pragma once

#include <QCache>
#include <QLineEdit>
#include <QPixmap>
#include <QString>

// A single-line edit the program rewrites many times a second, such as a
// readout. Setting a line edit's text lays the text out, tells its listeners
// and repaints it with its frame, which costs more than the rest of a
// reading's work together. So while the user is not in the edit and no
// assistive tool follows it, a text it has shown before is shown again from
// a picture of how it painted that text, and set in the edit itself only
// when the user comes to it.
class LiveEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit LiveEdit(QWidget* parent);

    // The text shown, whether or not it is set in the edit yet.
    QString Text() const;
    void SetText(const QString& text);

signals:
    // The text shown changed, set in the edit or not.
    void Shown(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Whether what the edit shows is only its text and frame, as in a
    // picture taken of it.
    bool ShowsPlainText() const;
    // Keeps a picture of the edit showing its text, once it painted itself
    // whole.
    void TakePicture();
    // Sets the text shown in the edit itself.
    void Settle();

    QString m_shown;
    bool m_pending = false; // m_shown is not set in the edit yet
    QCache<QString, QPixmap> m_pictures;
};
