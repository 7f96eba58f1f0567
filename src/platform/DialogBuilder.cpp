#include "platform/DialogBuilder.h"

#include "platform/DropDownListStyle.h"
#include "platform/LiveEdit.h"
#include "platform/LiveText.h"
#include "platform/MultilineEdit.h"
#include "platform/StaticControls.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResource>

#include <algorithm>

namespace {

// MulDiv of the Windows API: a * b / c rounded to the nearest, halves away from 0.
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    return static_cast<int>(q);
}

Qt::Alignment TextAlignment(unsigned styles) {
    return Qt::AlignTop | ((styles & ControlStyle::Center) ? Qt::AlignHCenter : Qt::AlignLeft);
}

QWidget* MakeButton(const ControlTemplate& c, QWidget& parent) {
    const QString caption = QString::fromUtf8(c.caption);
    QPushButton* button = (c.styles & ControlStyle::MultilineCaption)
                              ? new MultilineButton(caption, &parent)
                              : new QPushButton(caption, &parent);
    button->setDefault(c.kind == ControlKind::DefPushButton);
    button->setProperty(kOwnerDrawProperty, c.kind == ControlKind::OwnerDrawButton);
    return button;
}

QWidget* MakeEdit(const ControlTemplate& c, QWidget& parent, bool live) {
    if (c.styles & ControlStyle::Multiline) {
        auto* edit = new MultilineEdit(&parent);
        edit->setTabChangesFocus(true);
        edit->setVerticalScrollBarPolicy(
            (c.styles & ControlStyle::VScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        return edit;
    }
    QLineEdit* edit = live ? new LiveEdit(&parent) : new QLineEdit(&parent);
    // The dialog manager's edit draws its text right inside the border;
    // QLineEdit pads it by 2 more pixels a side, which would cut the
    // readout's "摄氏-55.00℃" in its 50 units.
    edit->setTextMargins(-2, 0, -2, 0);
    if (c.styles & ControlStyle::Center)
        edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QWidget* MakeText(const ControlTemplate& c, QWidget& parent, bool live) {
    if (live)
        return new LiveText(QString::fromUtf8(c.caption), TextAlignment(c.styles), &parent);
    auto* label = new QLabel(QString::fromUtf8(c.caption), &parent);
    label->setAlignment(TextAlignment(c.styles));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* MakeGroup(const ControlTemplate& c, QWidget& parent) {
    return new GroupFrame(QString::fromUtf8(c.caption), c.styles & ControlStyle::Center, &parent);
}

QWidget* MakeControl(const ControlTemplate& c, QWidget& parent, const QIcon& icon, bool live) {
    using K = ControlKind;
    using Shape = StaticShape::Shape;
    switch (c.kind) {
    case K::DefPushButton:
    case K::PushButton:
    case K::OwnerDrawButton:
        return MakeButton(c, parent);
    case K::GroupBox:
        return MakeGroup(c, parent);
    case K::DropDownList: {
        auto* list = new QComboBox(&parent);
        list->setStyle(DropDownListStyle::Instance());
        return list;
    }
    case K::Edit:
        return MakeEdit(c, parent, live);
    case K::Text:
        return MakeText(c, parent, live);
    case K::BlackRect:
        return new StaticShape(Shape::BlackRect, &parent);
    case K::BlackFrame:
        return new StaticShape(Shape::BlackFrame, &parent);
    case K::WhiteFrame:
        return new StaticShape(Shape::WhiteFrame, &parent);
    case K::EtchedVertLine:
        return new StaticShape(Shape::EtchedVertLine, &parent);
    case K::CommControl: {
        // The communications control has no face while the program runs.
        auto* host = new QWidget(&parent);
        host->setAttribute(Qt::WA_TransparentForMouseEvents);
        return host;
    }
    case K::Icon: {
        auto* label = new QLabel(&parent);
        label->setPixmap(icon.pixmap(32, 32));
        return label;
    }
    }
    return nullptr;
}

bool TakesFocus(const ControlTemplate& c) {
    return (c.styles & ControlStyle::TabStop) && c.kind != ControlKind::CommControl;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    const int alphabet = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_cxChar = (alphabet / 26 + 1) / 2;
    m_cyChar = fm.height();
}

int DialogUnits::X(int dlu) const {
    return MulDiv(dlu, m_cxChar, 4);
}

int DialogUnits::Y(int dlu) const {
    return MulDiv(dlu, m_cyChar, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return QRect(X(x), Y(y), X(cx), Y(cy));
}

namespace {

// AR PL UMing CN cut to the characters of the program's own texts. Read from
// the installed 21 MB file, the few hundred glyphs of the captions map some
// 6 MiB of it (the kernel maps 64 KiB around each page read); the cut face
// is read in place from the program's resources.
QString ProgramTextsFace() {
    static const QString family = [] {
        const QResource cut(QStringLiteral(":/fonts/DialogFont.ttf"));
        const int id = QFontDatabase::addApplicationFontFromData(cut.uncompressedData());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty())
            qWarning("The dialog font in the program's resources did not load; "
                     "the installed AR PL UMing CN draws the captions.");
        return families.value(0);
    }();
    return family;
}

} // namespace

QFont DialogFont(const DialogTemplate& tmpl) {
    const QString face = QString::fromUtf8(tmpl.fontFace);
    const QStringList installed = QFontDatabase::families();
    // Without SimSun: AR PL UMing CN, a Ming face with SimSun's proportions
    // (Latin glyphs 6 and Chinese 12 pixels wide, 12 high at 9 points and
    // 96 dpi) and a ℃ of its own, so the layout keeps the original's sizes.
    // Characters the cut face lacks (what the user types or receives) come
    // from the installed one: the same glyphs.
    QStringList families{ProgramTextsFace(), QStringLiteral("AR PL UMing CN")};
    for (const QString& name : {face, QStringLiteral("SimSun")}) {
        if (installed.contains(name)) {
            families = {name};
            break;
        }
    }
    families.removeAll(QString());
    QFont font;
    font.setFamilies(families);
    font.setPointSize(tmpl.fontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QWidget* DialogItems::Item(int id) const {
    auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

DialogItems BuildDialog(QWidget& dialog, const DialogTemplate& tmpl, const QIcon& icon,
                        std::span<const int> liveIds) {
    const QFont font = DialogFont(tmpl);
    dialog.setFont(font);
    dialog.setWindowTitle(QString::fromUtf8(tmpl.caption));
    const DialogUnits units(font);
    dialog.setFixedSize(units.X(tmpl.cx), units.Y(tmpl.cy));

    DialogItems items;
    QWidget* previous = nullptr;
    for (const ControlTemplate& c : tmpl.controls) {
        const bool live = c.id != -1 && std::ranges::find(liveIds, c.id) != liveIds.end();
        QWidget* w = MakeControl(c, dialog, icon, live);
        w->setProperty(kCtrlIdProperty, c.id);
        if (*c.name)
            w->setObjectName(QString::fromLatin1(c.name));
        QRect r = units.ToPixels(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::DropDownList) {
            // The template gives the opened height; closed, a list is one line high.
            auto* list = static_cast<QComboBox*>(w);
            const int closed = list->sizeHint().height();
            const int itemHeight = QFontMetrics(font).height() + 2;
            list->setMaxVisibleItems(std::max(1, (r.height() - closed) / itemHeight));
            r.setHeight(closed);
        }
        if (auto* group = qobject_cast<GroupFrame*>(w))
            group->SetFrameGeometry(r);
        else
            w->setGeometry(r);
        w->setFocusPolicy(TakesFocus(c) ? Qt::StrongFocus : Qt::NoFocus);
        if (c.styles & ControlStyle::Hidden)
            w->setHidden(true);
        if (c.kind == ControlKind::GroupBox || c.kind == ControlKind::BlackRect ||
            c.kind == ControlKind::BlackFrame || c.kind == ControlKind::WhiteFrame ||
            c.kind == ControlKind::EtchedVertLine)
            w->lower();
        if (TakesFocus(c)) {
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
        if (c.id != -1)
            items.Add(c.id, w);
    }
    return items;
}

QWidget* GetDlgItem(const QWidget* parent, int id) {
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && GetDlgCtrlID(w) == id)
            return w;
    }
    return nullptr;
}

int GetDlgCtrlID(const QWidget* widget) {
    const QVariant id = widget->property(kCtrlIdProperty);
    return id.isValid() ? id.toInt() : -1;
}

bool IsOwnerDraw(const QWidget* widget) {
    return widget->property(kOwnerDrawProperty).toBool();
}
