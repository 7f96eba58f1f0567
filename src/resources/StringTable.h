#pragma once

#include <QString>

// The string table: the texts the program loads by id. An unknown id loads
// an empty string, as loading a missing resource string does.
QString LoadResString(int id);

// Tests replace the table to exercise the empty-string paths.
void SetResStringOverride(int id, const QString& text);
void ClearResStringOverrides();
