#pragma once

#include "link/Exchange.h"

namespace setfolio {

// What a transfer needs of the dialog it runs in (or of the command line that stands in for it).
class TransferView : public ProgressIndicator {
public:
    // Transfer mode shows the progress area with the given range at position 0 and disables the
    // library and file controls; off is the idle look.
    virtual void SetTransferMode(bool on, int progressRange) = 0;
    // Disables or enables the whole dialog (around a long wait, when Abort is not possible).
    virtual void SetEnabled(bool enabled) = 0;
    // Waits `ms` while events keep being handled.
    virtual void Pause(int ms) = 0;
    // The dialog stays open when the transfer returns (the user has something to correct).
    virtual void KeepOpen() = 0;
};

} // namespace setfolio
