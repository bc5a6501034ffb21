#include "forms/ControlTexts.h"

namespace setfolio {

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

} // namespace setfolio
