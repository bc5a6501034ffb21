#pragma once

#include "platform/Prompts.h"

#include <exception>
#include <string>

namespace setfolio {

// Runs the handler of a window's control, of a timer or of a port event. An error that escapes
// it ends that action only: its text is shown in an error box and the program goes on with the
// next event.
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
