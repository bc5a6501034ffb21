#pragma once

#include "tables/ParameterRecords.h"

#include <map>
#include <span>
#include <string>
#include <string_view>

namespace setfolio {

// The shared choice lists that builder steps copy into their rows, by name. A definition holds
// until a later vocabulary step redefines it, across assemblies too.
class Vocabularies {
public:
    // Replaces the vocabulary whole: nothing of an earlier definition survives.
    void Define(std::string_view name, std::span<const std::string_view> texts);
    // The definition as it stands; an empty vocabulary when none was ever made.
    const TvvValues& Find(std::string_view name) const;

private:
    std::map<std::string, TvvValues, std::less<>> m_definitions;
};

} // namespace setfolio
