#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <array>

// The temperature strip chart: a child window that keeps its whole picture in
// an off-screen image, scrolls it 8 pixels per value and copies it on paint.
class CCurveWnd : public QWidget {
    Q_OBJECT

public:
    CCurveWnd();
    ~CCurveWnd() override;

    // Makes the window over rect (parent client coordinates) with a sunken
    // border; style carries WS_CHILD | WS_VISIBLE as the dialog passes it.
    virtual bool Create(unsigned style, const QRect& rect, QWidget* parent, int id);
    void SetRange(int min, int max);
    // Draws the value into the picture; the window shows it at its next
    // frame (ScrollOnFrame), or kLatestMs after the first value no frame
    // showed.
    void AddValue(int value);
    // Moves what the window shows on by the values drawn since it last did:
    // at most once a display frame (the dialog calls it at every tick of its
    // clock, the window's frame), or now.
    void ScrollOnFrame();
    void ShowNewValues();

    // The off-screen picture: what the window shows once it has shown every
    // value.
    QImage Surface() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnPaint(const QRegion& rcPaint);
    void PrepareSurface();
    void DrawNewValue();
    void DrawBorder();
    // The cells of the labels together, in the picture.
    QRect LabelColumn() const;
    // Where the image is fresh grid once the picture is copied back to its
    // start: from the new strip to the image's end.
    QRect FreshGrid() const;
    // The values not shown yet, which the caller now shows.
    int TakeUnshown();

    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    QImage m_bmpMem;
    int m_nOrigin = 0; // where the picture starts in m_bmpMem
    int m_nCount = 0;
    int m_nLastX = 0;
    int m_nLastY = 0;
    int m_nUnshown = 0; // values drawn that the window does not show yet
    QTimer m_frame;
    QElapsedTimer m_sinceShown;

    // Filling with the hatch brush or drawing text costs more than the rest
    // of a step together, so both are rendered once with the surface and
    // copied: a band of fresh grid, one period high and a period wider than
    // FreshGrid(), and the labels on their opaque cells at their places in
    // the picture.
    QImage m_bmpGrid;
    QImage m_bmpLabels;
    std::array<QRect, 11> m_rcLabels;
};
