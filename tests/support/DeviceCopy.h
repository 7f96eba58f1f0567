#pragma once

#include <QString>

// A character device such as /dev/null or /dev/full for a test to save to.
// Where the test may make device nodes (as root), a node of the same device
// in folder: a writer that wrongly replaced its target would replace only
// that copy, never the machine's own. Elsewhere the system's path, which such
// a user cannot replace.
QString DeviceCopy(const QString& systemPath, const QString& folder);
