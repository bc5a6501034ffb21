#pragma once

#include "core/Signal.h"
#include "i18n/Localisation.h"

namespace setfolio {

// What every window's model has in common: texts that follow the language, and one signal that
// tells the window to show the model again. The window subscribes once; the model signals after
// anything that did not come from the window's own controls changed it (a new language, a
// transfer's progress, a timer, a long wait starting or ending).
class FormModel : public TextTargets {
public:
    Signal<> changed;

    void TextsApplied() override { Changed(); }

protected:
    void Changed() { changed.Emit(); }
    // A window without texts of the language has no slots for them.
    std::string* TextSlot(std::string_view, TextProperty) override { return nullptr; }
};

} // namespace setfolio
