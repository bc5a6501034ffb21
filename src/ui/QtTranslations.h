#pragma once

#include "core/Signal.h"
#include "i18n/TextCatalogue.h"

#include <QTranslator>

namespace setfolio {

class Localisation;

// Qt's own texts (the buttons of message boxes, the file dialogs) in the language the program
// shows: whenever a language is applied, Qt's translation of it (qtbase_de, qtbase_fr from Qt's
// translations folder) replaces the one in force. English, or a language whose translation is
// not installed, leaves Qt's own English texts.
class QtTranslations {
public:
    explicit QtTranslations(Localisation& localisation);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Whether a translation of Qt's texts is in force.
    bool Use(Language language);

private:
    QTranslator m_translator;
    bool m_installed = false;
    Subscription m_applied;
};

} // namespace setfolio
