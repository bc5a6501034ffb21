#pragma once

#include "forms/FormControls.h"
#include "i18n/TextCatalogue.h"

#include <string>

namespace setfolio {

// The caption or the hint of a control, as `property` asks; nullptr for any other property.
std::string* CaptionOrHint(Control& control, TextProperty property);
// One of the first three lines of a list, as ListLine0 to ListLine2 ask; nullptr otherwise.
std::string* ListLine(Choice& list, TextProperty property);

} // namespace setfolio
