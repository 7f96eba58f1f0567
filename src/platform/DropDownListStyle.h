#pragma once

#include <QProxyStyle>

// Closed drop-down lists with the dialog manager's margins: the text a few
// pixels from the left edge and an arrow button as wide as a scroll bar,
// so that a list laid out just wider than its longest entry shows it whole.
// Everything else is drawn by the application's style.
class DropDownListStyle : public QProxyStyle {
    Q_OBJECT

public:
    // The one instance, owned by the application (which outlives every list).
    static QStyle* Instance();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;

private:
    explicit DropDownListStyle(QStyle* base);
};
