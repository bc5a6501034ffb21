#pragma once

#include "link/ReplyStatus.h"

#include <optional>
#include <string>

namespace setfolio {

class MessageTexts;

// The line that reports a library query or change: "Current library is 12." on success, the
// failure line for a failed exchange, and none for an exchange that was aborted, is still
// pending or ended with a file error.
std::optional<std::string> CurrentLibraryLine(ReplyStatus status, int library,
                                              const MessageTexts& texts);

} // namespace setfolio
