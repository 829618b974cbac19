#pragma once

#include <QTranslator>

#include <memory>

// Qt's own texts (the buttons, labels and messages of the folder browser, the context menus of
// text fields and of the viewer) in the user's language: Japanese under a Japanese locale, English
// under an English one. Loads Qt's translation for the system's locale from the folder the
// platform keeps them in (QtTranslationsFolder) and installs it into the application, which must
// exist, and after it the program's own translation of the texts Qt's lacks ("Folder" in the
// folder browser), which the program holds. The translations stay in use while the answer lives;
// none when there is no translation for the language.
std::unique_ptr<QTranslator> UseQtTranslations();
