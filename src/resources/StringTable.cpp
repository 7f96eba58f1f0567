#include "resources/StringTable.h"

#include "resources/Resource.h"

#include <map>

namespace {

std::map<int, QString>& Overrides() {
    static std::map<int, QString> overrides;
    return overrides;
}

} // namespace

QString LoadResString(int id) {
    if (auto it = Overrides().find(id); it != Overrides().end())
        return it->second;
    switch (id) {
    case IDS_ABOUTBOX:
        return QStringLiteral("关于(&A)...");
    case IDS_LOCKWINDOW:
        return QStringLiteral("锁定窗口");
    case IDS_MINIMIZE:
        return QStringLiteral("最小化");
    case AFX_IDP_INTERNAL_FAILURE:
        return QStringLiteral("内部应用程序出错。");
    default:
        return {};
    }
}

void SetResStringOverride(int id, const QString& text) {
    Overrides()[id] = text;
}

void ClearResStringOverrides() {
    Overrides().clear();
}
