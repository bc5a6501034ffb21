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

std::string* CaptionOrHint(Control& control, TextProperty property) {
    if (property == TextProperty::Caption)
        return &control.caption;
    if (property == TextProperty::Hint)
        return &control.hint;
    return nullptr;
}

std::string* ListLine(Choice& list, TextProperty property) {
    const int line = static_cast<int>(property) - static_cast<int>(TextProperty::ListLine0);
    if (line < 0 || line > 2 || line >= static_cast<int>(list.items.size()))
        return nullptr;
    return &list.items[static_cast<std::size_t>(line)];
}

void Localisation::Attach(TextWindow window, TextTargets& targets) {
    m_windows[static_cast<std::size_t>(window)] = &targets;
}

void Localisation::Apply(Language language) {
    const auto column = static_cast<std::size_t>(language);
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
}

} // namespace setfolio
