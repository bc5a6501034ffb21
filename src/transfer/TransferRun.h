#pragma once

#include "transfer/TransferContext.h"

#include <functional>

namespace setfolio {

class TransferView;

// How a transfer that selected libraries leaves the processor.
enum class AfterTransfer {
    // An upload: the processor stays on the library written last; that library is asked for
    // and reported.
    ReportLibrary,
    // A download only reads: the library that was active before (`activeLibrary`) is selected
    // again and reported. Without a known active library, as ReportLibrary.
    ReturnToActive,
};

// One download or upload as the dialogs and the command line run it. An Abort lasts until the
// transfer is over. A transfer that selected libraries has changed the processor's active
// library behind the main window's last line: afterwards `after` says what is done about it,
// unless the link is gone, and the library the processor has then is left in `activeLibrary`.
// The outcome stays the transfer's reply status.
void RunTransfer(const TransferContext& context, TransferView& view, AfterTransfer after,
                 const std::function<void()>& transfer);

} // namespace setfolio
