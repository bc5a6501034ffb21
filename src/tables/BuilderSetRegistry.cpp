#include "tables/BuilderSetRegistry.h"

#include <stdexcept>

namespace setfolio {

BuilderSetRegistry::BuilderSetRegistry(std::vector<BuilderSetSteps> sets)
    : m_sets(std::move(sets)) {
    for (std::size_t i = 0; i < m_sets.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (m_sets[i].set == m_sets[j].set)
                throw std::logic_error("builder set " + m_sets[i].set.Text() + " given twice");
        }
    }
}

const BuilderSetSteps* BuilderSetRegistry::Find(const BuilderSet& set) const {
    for (const auto& steps : m_sets) {
        if (steps.set == set)
            return &steps;
    }
    return nullptr;
}

} // namespace setfolio
