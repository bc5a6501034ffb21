#pragma once

#include "core/ModelCatalogue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// What an upload of a library file sends, written as a library file itself: per row of the
// tables of the file's model, the file's value or the default an upload sends in its place;
// the menu family's global values only with the first library of a run (`globals`); the bench
// family's "User" dump, and "Common" only with `calibration`. Its ModelNo is `processorModel`,
// so that it reads as what the processor should hold afterwards.
std::string UploadedValues(std::string_view content, std::int32_t fileModelType,
                           std::int32_t processorModel, bool globals, bool calibration);

// A value an upload would send that cannot go out as a command: a choice that is no decimal
// number of one to three digits, a value with a control byte (a line break among them), or one
// longer than a read of the file gives, which would go out cut.
struct UnsendableValue {
    enum class Why { NotAChoiceNumber, ControlByte, TooLong };
    std::string section;
    std::string name;
    Why why = Why::ControlByte;

    bool operator==(const UnsendableValue&) const = default;
};

// Every such value of what an upload into a processor of `family` sends of the file, in the
// order UploadedValues lists them.
std::vector<UnsendableValue> UnsendableValues(std::string_view content, std::int32_t fileModelType,
                                              ModelFamily family, bool globals, bool calibration);

} // namespace setfolio
