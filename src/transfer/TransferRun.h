#pragma once

#include "transfer/TransferContext.h"

#include <functional>

namespace setfolio {

// One download or upload as the dialogs and the command line run it. An Abort lasts until the
// transfer is over. A transfer that selected libraries has changed the processor's active
// library behind the main window's last line: afterwards the library it now has is asked for
// and reported, unless the link is gone; a download that only reads (`readInto`) selects the
// library that was active before (`activeLibrary`) instead. The outcome stays the transfer's
// reply status.
void RunTransfer(const TransferContext& context, const std::function<void()>& transfer);

} // namespace setfolio
