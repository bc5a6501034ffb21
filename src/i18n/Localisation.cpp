#include "i18n/Localisation.h"

namespace setfolio {

void TextTargets::SetText(std::string_view target, TextProperty property, const std::string& text) {
    if (std::string* slot = TextSlot(target, property))
        *slot = text;
}

std::optional<std::string> TextTargets::Text(std::string_view target, TextProperty property) const {
    // Only looks the slot up; nothing is changed through it.
    if (const std::string* slot = const_cast<TextTargets*>(this)->TextSlot(target, property))
        return *slot;
    return std::nullopt;
}

void Localisation::Attach(TextWindow window, TextTargets& targets) {
    m_windows[static_cast<std::size_t>(window)] = &targets;
}

void Localisation::Apply(Language language) {
    const auto column = static_cast<std::size_t>(language);
    m_messages.UseLanguage(language);
    std::size_t message = 0;
    for (const auto& entry : TextCatalogue()) {
        const std::string text(entry.texts[column]);
        if (entry.window == TextWindow::Messages) {
            m_messages.Set(static_cast<MsgId>(message++), text);
            continue;
        }
        if (auto* targets = m_windows[static_cast<std::size_t>(entry.window)])
            targets->SetText(entry.target, entry.property, text);
    }
    for (auto* targets : m_windows) {
        if (targets)
            targets->TextsApplied();
    }
    applied.Emit();
}

} // namespace setfolio
