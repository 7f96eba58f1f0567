#pragma once

#include <QString>

// Shows a local HTML page in the desktop's viewer; false when the desktop has
// none. xdg-open, the freedesktop.org opener, finds out that nothing can show
// the page only after it has been started (and QDesktopServices::openUrl has
// returned true), so it is asked first what it will find: the page's type,
// then the application registered for that type.
bool ShowHtmlPage(const QString& path);
