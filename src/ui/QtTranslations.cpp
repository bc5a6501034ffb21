#include "ui/QtTranslations.h"

#include "i18n/Localisation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace setfolio {

QtTranslations::QtTranslations(Localisation& localisation)
    : m_applied(localisation.applied.Subscribe(
          [this, &localisation] { Use(localisation.Messages().CurrentLanguage()); })) {}

QtTranslations::~QtTranslations() {
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

bool QtTranslations::Use(Language language) {
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    m_installed = false;
    const std::string_view code = LanguageCode(language);
    if (language != Language::English &&
        m_translator.load(QLocale(QString::fromLatin1(code.data(), code.size())), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_installed = QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}

} // namespace setfolio
