#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

std::unique_ptr<QTranslator> InstallQtTranslations(const QString& folder) {
    // By file name, not by QLocale: the user's locale must not choose.
    const QString file = QDir(folder).filePath(QStringLiteral("qtbase_zh_CN.qm"));
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get())) {
        qWarning("Cannot load Qt's Chinese translations from %s (package qt6-translations-l10n): "
                 "standard buttons and the save dialog will be in English.",
                 qPrintable(file));
        return nullptr;
    }
    return translator;
}
