#pragma once

#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

#include <memory>

// Installs Qt's own Simplified Chinese translations, whatever the user's
// locale, so that the texts Qt supplies (the buttons of message boxes, the
// save dialog and its questions) are Chinese like the rest of the interface.
// They stay installed while the returned translator lives. Without the file
// (Debian's qt6-translations-l10n) the program still runs, with those texts
// in English, and says so on standard error; the result is then null.
std::unique_ptr<QTranslator>
InstallQtTranslations(const QString& folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));
