#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setfolio {

// What an upload of a library file sends, written as a library file itself: per row of the
// tables of the file's model, the file's value or the default an upload sends in its place;
// the menu family's global values only with the first library of a run (`globals`); the bench
// family's "User" dump, and "Common" only with `calibration`. Its ModelNo is `processorModel`,
// so that it reads as what the processor should hold afterwards.
std::string UploadedValues(std::string_view content, std::int32_t fileModelType,
                           std::int32_t processorModel, bool globals, bool calibration);

} // namespace setfolio
