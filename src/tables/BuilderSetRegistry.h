#pragma once

#include "tables/BuilderSetSteps.h"

#include <span>
#include <vector>

namespace setfolio {

// The builder sets the program knows, looked up by the names a model's composition gives.
class BuilderSetRegistry {
public:
    explicit BuilderSetRegistry(std::vector<BuilderSetSteps> sets);

    // nullptr for a set the program has no data for; its steps then add nothing.
    const BuilderSetSteps* Find(const BuilderSet& set) const;
    std::span<const BuilderSetSteps> Sets() const { return m_sets; }

private:
    std::vector<BuilderSetSteps> m_sets;
};

// Every builder set whose data the program carries.
const BuilderSetRegistry& StandardBuilderSets();

} // namespace setfolio
