#include "tables/Vocabularies.h"

namespace setfolio {

void Vocabularies::Define(std::string_view name, std::span<const std::string_view> texts) {
    TvvValues vocabulary;
    vocabulary.count = static_cast<std::int32_t>(texts.size());
    vocabulary.values.assign(texts.begin(), texts.end());
    m_definitions.insert_or_assign(std::string(name), std::move(vocabulary));
}

const TvvValues& Vocabularies::Find(std::string_view name) const {
    static const TvvValues none;
    const auto found = m_definitions.find(name);
    return found == m_definitions.end() ? none : found->second;
}

} // namespace setfolio
