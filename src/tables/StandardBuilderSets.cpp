#include "tables/BuilderSetRegistry.h"
#include "tables/data/DataSets.h"

namespace setfolio {

const BuilderSetRegistry& StandardBuilderSets() {
    static const BuilderSetRegistry registry({
        data::BaseSetC09(),
        data::BaseSetC10(),
        data::AdditionSetC11(),
        data::BaseSetC12(),
        data::AdditionSetC13(),
        data::BaseSetC14(),
        data::AdditionSetC15(),
    });
    return registry;
}

} // namespace setfolio
