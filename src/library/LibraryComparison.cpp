#include "library/LibraryComparison.h"

#include "core/ProfileFile.h"
#include "tables/TablesJson.h"

#include <algorithm>

namespace setfolio {

namespace {

using profile::SameName;

std::string Side(const std::optional<DecodedParameter>& parameter) {
    if (!parameter)
        return "null";
    return "{\"stored\":" + JsonString(parameter->stored) +
           ",\"text\":" + (parameter->text ? JsonString(*parameter->text) : "null") + "}";
}

} // namespace

std::vector<ParameterDifference> CompareLibraries(const DecodedLibrary& a, const DecodedLibrary& b,
                                                  ComparedKeys keys) {
    std::vector<ParameterDifference> differences;
    const auto find = [](const DecodedLibrary& library, std::string_view section,
                         std::string_view name) -> std::optional<DecodedParameter> {
        if (const auto* parameter = library.Find(section, name))
            return *parameter;
        return std::nullopt;
    };
    for (const auto& section : a.sections) {
        for (const auto& parameter : section.parameters) {
            ParameterDifference pair{section.name, parameter.name, parameter,
                                     find(b, section.name, parameter.name)};
            if (keys == ComparedKeys::All || pair.Differs() || pair.SameText())
                differences.push_back(std::move(pair));
        }
    }
    for (const auto& section : b.sections) {
        for (const auto& parameter : section.parameters) {
            if (!a.Find(section.name, parameter.name))
                differences.push_back({section.name, parameter.name, std::nullopt, parameter});
        }
    }
    // Keys of one section stay together, in the first library's order of sections.
    std::vector<std::string> order;
    for (const auto* library : {&a, &b}) {
        for (const auto& section : library->sections) {
            if (std::none_of(order.begin(), order.end(), [&](const std::string& known) {
                    return SameName(known, section.name);
                }))
                order.push_back(section.name);
        }
    }
    const auto rank = [&order](const std::string& section) {
        return std::find_if(order.begin(), order.end(),
                            [&](const std::string& known) { return SameName(known, section); }) -
               order.begin();
    };
    std::stable_sort(differences.begin(), differences.end(), [&](const auto& x, const auto& y) {
        return rank(x.section) < rank(y.section);
    });
    return differences;
}

bool AnyDifference(const std::vector<ParameterDifference>& differences) {
    return std::any_of(differences.begin(), differences.end(),
                       [](const ParameterDifference& difference) { return difference.Differs(); });
}

std::string DifferencesJson(const std::vector<ParameterDifference>& differences,
                            std::string_view fileA, std::string_view fileB) {
    std::string json =
        "{\"a\":" + JsonString(fileA) + ",\"b\":" + JsonString(fileB) + ",\n\"differences\":[";
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const auto& difference = differences[i];
        json += std::string(i ? ",\n" : "\n") + "{\"section\":" + JsonString(difference.section) +
                ",\"name\":" + JsonString(difference.name) + ",\"a\":" + Side(difference.a) +
                ",\"b\":" + Side(difference.b) +
                (difference.SameText() ? ",\"sameText\":true" : "") + "}";
    }
    return json + "]}\n";
}

} // namespace setfolio
