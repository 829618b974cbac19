#include "shell/Translations.h"

#include "shell/Platform.h"

#include <QCoreApplication>
#include <QLocale>

std::unique_ptr<QTranslator> UseQtTranslations() {
    auto translator = std::make_unique<QTranslator>();
    // Widgets' texts are in qtbase; Debian's qt_LANGUAGE.qm only names it and Qt's other modules.
    if (!translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QtTranslationsFolder())) {
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator;
}
