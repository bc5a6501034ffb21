#pragma once

#include "link/Reply.h"

#include <functional>

namespace setfolio {

class CurrentModel;
class Exchange;

// After a processor that switches libraries slowly has accepted a select, its library is asked
// for once more with a long reply time-out; `setEnabled` disables the caller's window meanwhile.
// The query's reply.
Reply RequeryAfterSlowSwitch(Exchange& exchange, const std::function<void(bool)>& setEnabled);

// Makes `chosen` the active library, unless it already is (`libraryAtOpen`): then nothing is
// sent and the exchange counts as Ok. The outcome is the exchange's reply status, and the reply
// returned: the select's, or the query's after a slow switch.
Reply ChangeLibrary(Exchange& exchange, const CurrentModel& model, int libraryAtOpen, int chosen,
                    const std::function<void(bool)>& setEnabled);

} // namespace setfolio
