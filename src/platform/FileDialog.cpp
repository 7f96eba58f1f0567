#include "platform/FileDialog.h"

#include <QFileDialog>

namespace {

SaveFileHook& Hook() {
    static SaveFileHook hook;
    return hook;
}

} // namespace

void SetSaveFileHook(SaveFileHook hook) {
    Hook() = std::move(hook);
}

std::optional<QString> GetSaveFileName(QWidget* parent, const SaveFileRequest& request) {
    if (Hook())
        return Hook()(request);
    QFileDialog dialog(parent, request.title);
    // Qt's own dialog speaks the interface's language; the desktop's would
    // follow the user's locale.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Captions may hold patterns of another platform ("*.*"): show the caption,
    // match by the patterns given.
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters.append(filter.caption + QStringLiteral(" (") + filter.patterns + u')');
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(0));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
