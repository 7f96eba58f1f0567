#pragma once

#include "platform/DialogTemplate.h"

#include <QFont>
#include <QIcon>
#include <QRect>

#include <span>
#include <unordered_map>

class QWidget;

// The widget properties that hold a control's id and whether its template
// gave it the owner-draw style.
inline constexpr const char* kCtrlIdProperty = "ctrlId";
inline constexpr const char* kOwnerDrawProperty = "ownerDraw";

// Dialog base units of a font, as the Windows dialog manager measures them:
// the average width of the Latin letters and the character height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int cxChar, int cyChar) : m_cxChar(cxChar), m_cyChar(cyChar) {}

    QRect ToPixels(int x, int y, int cx, int cy) const;
    int X(int dlu) const;
    int Y(int dlu) const;

private:
    int m_cxChar;
    int m_cyChar;
};

// The font a template names, or a font of its proportions in its place.
QFont DialogFont(const DialogTemplate& tmpl);

// The widgets a template made, by control id (id -1 controls are not kept).
class DialogItems {
public:
    QWidget* Item(int id) const;
    template <class T> T* Get(int id) const { return static_cast<T*>(Item(id)); }
    void Add(int id, QWidget* widget) { m_items[id] = widget; }

private:
    std::unordered_map<int, QWidget*> m_items; // looked up at every reading
};

// Creates the template's controls as children of dialog, in template order
// (which is the tab order), sets the caption, font and client size. Icon
// controls show icon. The controls of liveIds, whose text changes many times a
// second, are made LiveText (static texts) and LiveEdit (single-line edits).
DialogItems BuildDialog(QWidget& dialog, const DialogTemplate& tmpl, const QIcon& icon = {},
                        std::span<const int> liveIds = {});

// The child with a control id, as the dialog manager finds it; null if none.
QWidget* GetDlgItem(const QWidget* parent, int id);

// The control id the builder gave a widget, -1 if none.
int GetDlgCtrlID(const QWidget* widget);

// Whether the template gave a button the owner-draw style.
bool IsOwnerDraw(const QWidget* widget);
