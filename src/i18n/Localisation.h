#pragma once

#include "core/Signal.h"
#include "i18n/Messages.h"
#include "i18n/TextCatalogue.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// A window whose control texts follow the language.
class TextTargets {
public:
    virtual ~TextTargets() = default;
    // Sets one text of a control (or of the window itself); unknown targets are ignored.
    void SetText(std::string_view target, TextProperty property, const std::string& text);
    // The text a control (or the window) shows now; nothing for a target the window lacks.
    std::optional<std::string> Text(std::string_view target, TextProperty property) const;

    // Runs once a language has put all its texts into the window.
    virtual void TextsApplied() {}

protected:
    // Where the window keeps one text of a control (or its own caption); nullptr for a target
    // or property it does not have.
    virtual std::string* TextSlot(std::string_view target, TextProperty property) = 0;
};

// Puts the texts of a language into the message texts and into the controls of the windows that
// have attached themselves.
class Localisation {
public:
    MessageTexts& Messages() { return m_messages; }
    const MessageTexts& Messages() const { return m_messages; }

    void Attach(TextWindow window, TextTargets& targets);
    // Every entry of the catalogue, in catalogue order.
    void Apply(Language language);

    // After a language has been applied: for windows whose texts are the program's own.
    Signal<> applied;

private:
    MessageTexts m_messages;
    std::array<TextTargets*, 7> m_windows{};
};

// The lines of the language list, each language under its own name.
inline constexpr std::array<std::string_view, LanguageCount> LanguageNames{"English", "Deutsch",
                                                                           "Fran\u00e7ais"};

} // namespace setfolio
