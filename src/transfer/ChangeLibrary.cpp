#include "transfer/ChangeLibrary.h"

#include "core/CurrentModel.h"
#include "link/Exchange.h"
#include "platform/Timer.h"

namespace setfolio {

namespace {
constexpr int SlowSwitchTimeOutMs = 30000;
constexpr int AfterSlowSwitchTimeOutMs = 2000;
} // namespace

Reply RequeryAfterSlowSwitch(Exchange& exchange, const std::function<void(bool)>& setEnabled) {
    if (setEnabled)
        setEnabled(false);
    exchange.TimeOutTimer().SetInterval(SlowSwitchTimeOutMs);
    Reply reply = exchange.QueryLibrary();
    exchange.TimeOutTimer().SetInterval(AfterSlowSwitchTimeOutMs);
    if (setEnabled)
        setEnabled(true);
    return reply;
}

Reply ChangeLibrary(Exchange& exchange, const CurrentModel& model, int libraryAtOpen, int chosen,
                    const std::function<void(bool)>& setEnabled) {
    if (chosen == libraryAtOpen) {
        exchange.Accept();
        return Reply{ReplyStatus::Ok};
    }
    Reply reply = exchange.SelectLibrary(chosen);
    if (model.SlowLibrarySwitch() && reply.Ok())
        reply = RequeryAfterSlowSwitch(exchange, setEnabled);
    return reply;
}

} // namespace setfolio
