#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QPlainTextEdit>
#include <QPointF>
#include <QRect>
#include <QStaticText>
#include <QWidget>

#include <vector>

// The least a window pays to show the time every 10 ms: it fills a clock-sized
// rectangle anew at each tick. ShowReading() shows a reading the least a
// window can: it fills a rectangle the size of the count of received bytes
// anew at the next tick, and shows the reading as text in a box that wraps and
// scrolls (in hexadecimal, each byte as a pair of digits and a space), at most
// once a display frame. A drawn box places the characters that came since
// after the last ones, starts a line where one is full, scrolls up a line when
// the last is full, and draws only the new characters, each from a text laid
// out once. A text box is Qt's plain text box as it comes, set up as the
// program's receive box: the characters go in at its end in one edit, a line
// a paragraph of its own, so that only the last line is laid out again; it
// empties past 10,000 bytes, as the program's does. With the curve, each
// reading also fills a readout anew and steps a strip chart, which moves its
// picture on at most once a display frame and fills its new strips and its
// label column anew: the least a window pays to chart each reading. Programs
// are judged against it in the same run.
class Floor : public QWidget {
public:
    enum class Shown { Text, Hexadecimal };
    enum class Box { Drawn, TextBox };

    explicit Floor(Shown shown = Shown::Text, Box box = Box::Drawn, bool curve = false);
    void ShowReading(const QByteArray& bytes);

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Placed {
        QChar c;
        QPointF at; // top left
    };

    void ShowOnFrame();
    void DrawInBox(const QString& shown);
    void InsertInTextBox(const QString& shown);
    void StepChart();
    const QStaticText& Glyph(QChar c);

    Shown m_shown;
    bool m_bCurve;
    qreal m_line; // the box's line height
    int m_nTicks = 0;
    int m_nReadings = 0;
    bool m_bCountChanged = false; // a reading came since the last tick
    QElapsedTimer m_sinceFrame;
    QString m_unshown;            // characters that came since the last frame
    qreal m_x = 0;                // where the next character goes in the box
    std::vector<Placed> m_placed; // placed, not yet drawn
    QHash<char16_t, QStaticText> m_glyphs;
    QPlainTextEdit* m_textBox = nullptr;
    int m_nTextBoxBytes = 0;
    int m_nUnshown = 0; // steps the chart has not moved on yet
    QRect m_rcStrip;    // what the last move left to fill
};

// A program may cost at most half as much again as its floor.
constexpr double kOverFloor = 1.5;
// A program may cost at most a fifth more than its floor with Qt's text box:
// up to what its clock costs it over the floor's at idle, so its receive box
// may cost no more than Qt's box does as it comes.
constexpr double kOverTextBoxFloor = 1.2;
