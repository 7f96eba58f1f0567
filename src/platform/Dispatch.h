#pragma once

#include <QString>

#include <functional>

class QWidget;

// How the framework treats an exception that leaves a handler.
enum class HandlerKind {
    Command,      // button, list or menu handler: report in a message box
    ControlEvent, // the control's event: the error goes back to the control, nothing shown
};

// The text reported for an exception that carries no description; the
// application sets it from its string table before any handler runs.
void SetInternalFailureText(const QString& text);

// Runs one handler as the framework's dispatch would: a DescribedError shows
// its description with a stop icon, any other exception the internal-failure
// text. Nothing ever escapes into Qt's event loop.
void Dispatch(QWidget* owner, HandlerKind kind, const std::function<void()>& handler);
