#pragma once

#include "link/ReplyStatus.h"

#include <optional>
#include <string>

namespace setfolio {

class MessageLog;
class MessageTexts;
class Prompts;

// The line that reports a library query or change: "Current library is 12." on success, the
// failure line for a failed exchange, and none for an exchange that was aborted, is still
// pending or ended with a file error.
std::optional<std::string> CurrentLibraryLine(ReplyStatus status, int library,
                                              const MessageTexts& texts);

// Reports the outcome of the last library exchange in the message window: the line above,
// after the warning beep when the exchange failed.
void ShowCurrentLibrary(int library, ReplyStatus status, const MessageTexts& texts,
                        Prompts& prompts, MessageLog& log);

} // namespace setfolio
