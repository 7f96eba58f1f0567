#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

struct SaveFileRequest {
    QString title;
    QStringList filters; // Qt filter strings, the first one selected
    QString defaultSuffix;
};

// The modal save-file dialog: the chosen path, or nothing when cancelled.
// It asks before replacing an existing file.
std::optional<QString> GetSaveFileName(QWidget* parent, const SaveFileRequest& request);

// Test seam: while set, the hook answers instead of a dialog.
using SaveFileHook = std::function<std::optional<QString>(const SaveFileRequest&)>;
void SetSaveFileHook(SaveFileHook hook);
