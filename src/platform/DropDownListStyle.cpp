#include "platform/DropDownListStyle.h"

#include <QApplication>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionComplex>

namespace {

// At 96 dpi: the sunken edge and the system scroll bar's width. The text
// field starts right inside the edge; the style draws the text a pixel into it.
constexpr int kEdge = 2;
constexpr int kArrowWidth = 16;

} // namespace

DropDownListStyle::DropDownListStyle(QStyle* base) : QProxyStyle(base) {}

QStyle* DropDownListStyle::Instance() {
    static QPointer<QStyle> instance;
    if (!instance) {
        // A fresh instance of the application's style: QProxyStyle owns its base.
        instance = new DropDownListStyle(QStyleFactory::create(QApplication::style()->name()));
        instance->setParent(qApp);
    }
    return instance;
}

QRect DropDownListStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl subControl, const QWidget* widget) const {
    if (control != CC_ComboBox ||
        (subControl != SC_ComboBoxArrow && subControl != SC_ComboBoxEditField))
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    const QRect r = option->rect;
    const int arrowLeft = r.right() + 1 - kEdge - kArrowWidth;
    const QRect rc = subControl == SC_ComboBoxArrow
                         ? QRect(arrowLeft, r.top() + kEdge, kArrowWidth, r.height() - 2 * kEdge)
                         : QRect(r.left() + kEdge, r.top() + kEdge, arrowLeft - r.left() - kEdge,
                                 r.height() - 2 * kEdge);
    return visualRect(option->direction, r, rc);
}
