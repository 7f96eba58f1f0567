#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

struct FileFilter {
    QString caption;  // what the list shows, e.g. "TEXT Files(*.txt)"
    QString patterns; // what it matches, e.g. "*.txt"
};

struct SaveFileRequest {
    QString title;
    QList<FileFilter> filters; // the first one selected
    QString defaultSuffix;
};

// The modal save-file dialog: the chosen path, or nothing when cancelled.
// It asks before replacing an existing file.
std::optional<QString> GetSaveFileName(QWidget* parent, const SaveFileRequest& request);

// Test seam: while set, the hook answers instead of a dialog.
using SaveFileHook = std::function<std::optional<QString>(const SaveFileRequest&)>;
void SetSaveFileHook(SaveFileHook hook);
