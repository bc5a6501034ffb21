// The program's own messages in English, German and French (UTF-8), in the order of OwnMsg.
#include "i18n/Messages.h"

namespace setfolio {

namespace {

// clang-format off
constexpr std::array<std::array<std::string_view, LanguageCount>, OwnMessageCount> Texts{{
    // Upload refusals
    {"{} has no model number.", "{} hat keine Modellnummer.", "{} n'a pas de numéro de modèle."},
    {"{} holds a library of model {}, the processor is a {}.",
     "{} enthält eine Bibliothek des Modells {}, der Prozessor ist ein {}.",
     "{} contient une librairie du modèle {}, le processeur est un {}."},
    // What a transfer left behind
    {"Library {} is only partly written.", "Bibliothek {} ist nur teilweise geschrieben.",
     "La librairie {} n'est écrite qu'en partie."},
}};
// clang-format on

} // namespace

std::string_view OwnText(OwnMsg id, Language language) {
    return Texts[static_cast<std::size_t>(id)][static_cast<std::size_t>(language)];
}

} // namespace setfolio
