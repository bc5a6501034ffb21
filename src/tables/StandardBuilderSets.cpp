#include "tables/BuilderSetRegistry.h"
#include "tables/data/DataSets.h"

namespace setfolio {

const BuilderSetRegistry& StandardBuilderSets() {
    static const BuilderSetRegistry registry({
        // One set a line, so that sets are added and removed line by line.
        // clang-format off
        data::BaseSetC01(),
        data::BaseSetC02(),
        data::BaseSetC03(),
        data::BaseSetC04(),
        data::BaseSetC05(),
        data::BaseSetC06(),
        data::BaseSetC07(),
        data::BaseSetC08(),
        data::BaseSetC09(),
        data::BaseSetC10(),
        data::AdditionSetC11(),
        data::BaseSetC12(),
        data::AdditionSetC13(),
        data::BaseSetC14(),
        data::AdditionSetC15(),
        data::BaseSetC16(),
        data::BaseSetC17(),
        data::BaseSetC18(),
        data::BaseSetC19(),
        data::AdditionSetC20(),
        data::BaseSetC21(),
        data::BaseSetC22(),
        data::AdditionSetC23(),
        data::AdditionSetC24(),
        data::AdditionSetC25(),
        data::AdditionSetC26(),
        data::BaseSetC27(),
        data::AdditionSetC28(),
        data::AdditionSetC29(),
        data::BaseSetC30(),
        data::BaseSetC31(),
        data::BaseSetM01(),
        data::BaseSetM02(),
        data::BaseSetM03(),
        data::BaseSetM04(),
        data::AdditionSetM05(),
        data::AdditionSetM06(),
        data::BaseSetM07(),
        data::AdditionSetM08(),
        data::AdditionSetM09(),
        data::AdditionSetM11(),
        data::BaseSetM12(),
        data::AdditionSetM13(),
        data::BaseSetM14(),
        // clang-format on
    });
    return registry;
}

} // namespace setfolio
