#include "transfer/TransferRun.h"

#include "core/ScopeExit.h"
#include "link/Exchange.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"

namespace setfolio {

void RunTransfer(const TransferContext& context, const std::function<void()>& transfer) {
    Exchange& exchange = context.exchange;
    exchange.ForgetAbort();
    const ScopeExit forget([&exchange] { exchange.ForgetAbort(); });
    const int selectsBefore = exchange.SelectsForTransfer();
    const int active = exchange.currentLibrary();
    transfer();

    const ReplyStatus outcome = exchange.replyStatus();
    if (exchange.SelectsForTransfer() == selectsBefore || outcome == ReplyStatus::NoConnection ||
        outcome == ReplyStatus::PortOff)
        return;
    exchange.ForgetAbort();
    if (context.readInto) {
        // Only read: the processor goes back to the library it was running.
        ChangeLibrary(exchange, context.model, -1, active, {});
        ShowCurrentLibrary(active, exchange.replyStatus(), context.texts, context.prompts,
                           context.log);
    } else {
        exchange.QueryLibrary();
        ShowCurrentLibrary(exchange.currentLibrary(), exchange.replyStatus(), context.texts,
                           context.prompts, context.log);
    }
    if (outcome == ReplyStatus::Ok)
        exchange.Accept();
    else
        exchange.Fail(outcome);
}

} // namespace setfolio
