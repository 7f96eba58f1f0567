#pragma once

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>

class QPainter;
class QPushButton;

// Owner-draw states, the platform's values.
constexpr unsigned ODS_SELECTED = 0x0001;
constexpr unsigned ODS_DISABLED = 0x0004;
constexpr unsigned ODS_FOCUS = 0x0010;

struct DRAWITEMSTRUCT {
    QPainter* pDC;
    QRect rcItem;
    unsigned itemState;
};

// A push button that paints itself in its own colours with a bevelled frame.
// It takes over an existing button of a dialog; clicks still reach the
// dialog as before.
class CColorButton : public QObject {
    Q_OBJECT

public:
    CColorButton() = default;

    bool Attach(int nID, QWidget* pParent, QColor crBackground, QColor crText, QColor crDisabled,
                int nBevelWidth);
    void DrawItem(const DRAWITEMSTRUCT& dis);

    static void DrawFilledRect(QPainter& dc, const QRect& rc, QColor color);
    static void DrawLine(QPainter& dc, int x1, int y1, int x2, int y2, QColor color);
    static void DrawButtonText(QPainter& dc, const QRect& rc, const QString& text, QColor color);
    static void DrawFrame(QPainter& dc, QRect rc, int nWidth);
    // The platform's dotted focus rectangle, drawn by inversion.
    static void DrawFocusRect(QPainter& dc, const QRect& rc);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* m_pButton = nullptr;
    QColor m_crBackground;
    QColor m_crText;
    QColor m_crDisabled;
    int m_nBevelWidth = 0;
};
