#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString AppName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

void AppMessageBox(QWidget* parent, const QString& text, const QString& title, MsgIcon icon) {
    const MessageBoxCall call{text, title.isEmpty() ? AppName() : title, icon};
    if (Hook()) {
        Hook()(call);
        return;
    }
    QMessageBox box(ToQt(call.icon), call.title, call.text, QMessageBox::Ok, parent);
    box.exec();
}
