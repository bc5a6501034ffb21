#include "transfer/ChangeLibrary.h"

#include "core/CurrentModel.h"
#include "link/Exchange.h"
#include "platform/Timer.h"

namespace setfolio {

namespace {
constexpr int SlowSwitchTimeOutMs = 30000;
constexpr int AfterSlowSwitchTimeOutMs = 2000;
} // namespace

void RequeryAfterSlowSwitch(Exchange& exchange, const std::function<void(bool)>& setEnabled) {
    if (setEnabled)
        setEnabled(false);
    exchange.TimeOutTimer().SetInterval(SlowSwitchTimeOutMs);
    exchange.QueryLibrary();
    exchange.TimeOutTimer().SetInterval(AfterSlowSwitchTimeOutMs);
    if (setEnabled)
        setEnabled(true);
}

void ChangeLibrary(Exchange& exchange, const CurrentModel& model, int libraryAtOpen, int chosen,
                   const std::function<void(bool)>& setEnabled) {
    if (chosen == libraryAtOpen) {
        exchange.Accept();
        return;
    }
    exchange.SelectLibrary(chosen);
    if (model.SlowLibrarySwitch() && exchange.replyStatus() == ReplyStatus::Ok)
        RequeryAfterSlowSwitch(exchange, setEnabled);
}

} // namespace setfolio
