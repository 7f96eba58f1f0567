#include "platform/Dispatch.h"

#include "platform/DescribedError.h"
#include "platform/MessageBox.h"

namespace {

QString& InternalFailureText() {
    static QString text;
    return text;
}

} // namespace

void SetInternalFailureText(const QString& text) {
    InternalFailureText() = text;
}

void Dispatch(QWidget* owner, HandlerKind kind, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const DescribedError& e) {
        if (kind == HandlerKind::Command)
            AppMessageBox(owner, e.Description(), {}, MsgIcon::Stop);
    } catch (...) {
        if (kind == HandlerKind::Command)
            AppMessageBox(owner, InternalFailureText(), {}, MsgIcon::Stop);
    }
}
