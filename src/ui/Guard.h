#pragma once

#include "platform/Prompts.h"

#include <exception>
#include <string>

namespace setfolio {

// Runs a window's handler. An error that escapes it ends the action only: its text is shown in
// an error box and the program goes on with the next event.
template <typename Handler> bool RunGuarded(Prompts& prompts, Handler&& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        prompts.WarningBeep();
        prompts.ErrorBox(error.what());
    } catch (...) {
        prompts.WarningBeep();
        prompts.ErrorBox("Unexpected error.");
    }
    return false;
}

} // namespace setfolio
