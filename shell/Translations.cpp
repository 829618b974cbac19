#include "shell/Translations.h"

#include "shell/Platform.h"

#include <QCoreApplication>
#include <QLocale>

std::unique_ptr<QTranslator> UseQtTranslations() {
    auto translator = std::make_unique<QTranslator>();
    // Widgets' texts are in qtbase; Debian's qt_LANGUAGE.qm only names it and Qt's other modules.
    const bool qt = translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                                     QtTranslationsFolder());
    // The texts Qt's translation lacks, held in the program, installed after Qt's so that they
    // are looked up first. It belongs to the translator returned.
    auto* own = new QTranslator(translator.get());
    const bool ours = own->load(QLocale(), QStringLiteral("morvane"), QStringLiteral("_"),
                                QStringLiteral(":/morvane/translations"));
    if (!qt && !ours) {
        return nullptr;
    }
    if (qt) {
        QCoreApplication::installTranslator(translator.get());
    }
    if (ours) {
        QCoreApplication::installTranslator(own);
    }
    return translator;
}
