#include "forms/FormControls.h"

namespace setfolio {

const std::string& Choice::MarkedText() const {
    static const std::string none;
    return HasMarked() ? items[static_cast<std::size_t>(marked)] : none;
}

} // namespace setfolio
