#include "platform/Dispatch.h"

#include "platform/MessageBox.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "serial/CommError.h"

void Dispatch(QWidget* owner, HandlerKind kind, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const CommError& e) {
        if (kind == HandlerKind::Command)
            AppMessageBox(owner, e.Description(), {}, MsgIcon::Stop);
    } catch (...) {
        if (kind == HandlerKind::Command)
            AppMessageBox(owner, LoadResString(AFX_IDP_INTERNAL_FAILURE), {}, MsgIcon::Stop);
    }
}
