#pragma once

#include <QString>

#include <functional>

class QWidget;

enum class MsgIcon { None, Exclamation, Stop };

struct MessageBoxCall {
    QString text;
    QString title;
    MsgIcon icon;
};

// A modal message box with an OK button. An empty title means the
// application's name (the executable's file name without extension).
void AppMessageBox(QWidget* parent, const QString& text, const QString& title = {},
                   MsgIcon icon = MsgIcon::None);

// Test seam: while set, boxes are handed to the hook instead of being shown.
using MessageBoxHook = std::function<void(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);

QString AppName();
