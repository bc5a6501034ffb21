#include "transfer/TransferRun.h"

#include "core/ScopeExit.h"
#include "link/Exchange.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/TransferView.h"

namespace setfolio {

void RunTransfer(const TransferContext& context, TransferView& view, AfterTransfer after,
                 const std::function<void()>& transfer) {
    Exchange& exchange = context.exchange;
    exchange.ForgetAbort();
    const ScopeExit forget([&exchange] { exchange.ForgetAbort(); });
    const int selectsBefore = exchange.SelectsForTransfer();
    const std::int32_t active = context.activeLibrary ? *context.activeLibrary : 0;
    transfer();

    if (exchange.SelectsForTransfer() == selectsBefore)
        return;
    const auto found = [&context](std::int32_t library) {
        if (context.activeLibrary)
            *context.activeLibrary = library;
    };
    found(exchange.TransferLibrary());
    const ReplyStatus outcome = exchange.replyStatus();
    if (outcome == ReplyStatus::NoConnection || outcome == ReplyStatus::PortOff)
        return;
    // Whatever ended the transfer (an Abort too), the processor is put right.
    exchange.ForgetAbort();
    if (after == AfterTransfer::ReturnToActive && context.activeLibrary) {
        // Only read: the processor goes back to the library it was running.
        const Reply back = ChangeLibrary(exchange, context.model, -1, active,
                                         [&view](bool on) { view.SetEnabled(on); });
        const std::int32_t library = back.library.value_or(active);
        if (back.Ok())
            found(library);
        ShowCurrentLibrary(library, back.status, context.texts, context.prompts, context.log);
    } else {
        const Reply reply = exchange.QueryLibrary();
        if (reply.library)
            found(*reply.library);
        ShowCurrentLibrary(reply.library.value_or(0), reply.status, context.texts, context.prompts,
                           context.log);
    }
    if (outcome == ReplyStatus::Ok)
        exchange.Accept();
    else
        exchange.Fail(outcome);
}

} // namespace setfolio
