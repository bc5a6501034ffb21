#include "library/LibraryComparison.h"

#include "core/ProfileFile.h"
#include "tables/TablesJson.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace setfolio {

namespace {

using profile::SameName;

std::string Side(const std::optional<DecodedParameter>& parameter) {
    if (!parameter)
        return "null";
    return "{\"stored\":" + JsonString(parameter->stored) +
           ",\"text\":" + (parameter->text ? JsonString(*parameter->text) : "null") + "}";
}

std::string JsonList(const std::vector<std::string>& texts) {
    std::string json = "[";
    for (std::size_t i = 0; i < texts.size(); ++i)
        json += (i ? "," : "") + JsonString(texts[i]);
    return json + "]";
}

// The unused values of each key of a library, by its section and name in lower case.
using UnusedByKey = std::map<std::string, std::vector<std::string>>;

std::string KeyOf(std::string_view section, std::string_view name) {
    std::string key;
    for (const char c : std::string(section) + '\0' + std::string(name))
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return key;
}

UnusedByKey UnusedOf(const DecodedLibrary& library, UnusedValues compared) {
    UnusedByKey unused;
    if (compared == UnusedValues::Compared) {
        for (const auto& value : library.unused)
            unused[KeyOf(value.section, value.name)].push_back(value.stored);
    }
    return unused;
}

std::vector<std::string> UnusedFor(const UnusedByKey& unused, const std::string& section,
                                   const std::string& name) {
    const auto found = unused.find(KeyOf(section, name));
    return found == unused.end() ? std::vector<std::string>() : found->second;
}

using ByKey = std::unordered_map<std::string, const DecodedParameter*>;

ByKey KeysOf(const DecodedLibrary& library) {
    ByKey keys;
    for (const auto& section : library.sections) {
        for (const auto& parameter : section.parameters)
            keys.try_emplace(KeyOf(section.name, parameter.name), &parameter);
    }
    return keys;
}

} // namespace

std::vector<ParameterDifference> CompareLibraries(const DecodedLibrary& a, const DecodedLibrary& b,
                                                  ComparedKeys keys, UnusedValues unusedValues) {
    std::vector<ParameterDifference> differences;
    const UnusedByKey unusedA = UnusedOf(a, unusedValues);
    const UnusedByKey unusedB = UnusedOf(b, unusedValues);
    const auto withUnused = [&](ParameterDifference pair) {
        pair.unusedA = UnusedFor(unusedA, pair.section, pair.name);
        pair.unusedB = UnusedFor(unusedB, pair.section, pair.name);
        return pair;
    };
    // Each library's keys looked up by name, so that a comparison costs the same per key
    // however many keys there are.
    const ByKey keysA = KeysOf(a);
    const ByKey keysB = KeysOf(b);
    const auto find = [](const ByKey& library, std::string_view section,
                         std::string_view name) -> std::optional<DecodedParameter> {
        const auto found = library.find(KeyOf(section, name));
        if (found != library.end())
            return *found->second;
        return std::nullopt;
    };
    std::unordered_set<std::string> listed;
    for (const auto& section : a.sections) {
        for (const auto& parameter : section.parameters) {
            auto pair = withUnused({section.name,
                                    parameter.name,
                                    parameter,
                                    find(keysB, section.name, parameter.name),
                                    {},
                                    {}});
            listed.insert(KeyOf(section.name, parameter.name));
            if (keys == ComparedKeys::All || pair.Differs() || pair.SameText())
                differences.push_back(std::move(pair));
        }
    }
    for (const auto& section : b.sections) {
        for (const auto& parameter : section.parameters) {
            if (listed.insert(KeyOf(section.name, parameter.name)).second)
                differences.push_back(
                    withUnused({section.name, parameter.name, std::nullopt, parameter, {}, {}}));
        }
    }
    // Keys that only sections no reader sees hold, in one library or both.
    for (const auto* library : {&a, &b}) {
        for (const auto& value : library->unused) {
            if (!listed.insert(KeyOf(value.section, value.name)).second)
                continue;
            auto pair = withUnused({value.section, value.name, std::nullopt, std::nullopt, {}, {}});
            if (pair.unusedA != pair.unusedB)
                differences.push_back(std::move(pair));
        }
    }
    // Keys of one section stay together, in the first library's order of sections.
    std::unordered_map<std::string, std::size_t> order; // section in lower case -> rank
    for (const auto* library : {&a, &b}) {
        for (const auto& section : library->sections)
            order.try_emplace(KeyOf(section.name, ""), order.size());
    }
    const auto rank = [&order](const std::string& section) {
        const auto found = order.find(KeyOf(section, ""));
        return found == order.end() ? order.size() : found->second;
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
                (difference.SameText() ? ",\"sameText\":true" : "") +
                (difference.unusedA.empty() && difference.unusedB.empty()
                     ? std::string()
                     : ",\"unusedA\":" + JsonList(difference.unusedA) +
                           ",\"unusedB\":" + JsonList(difference.unusedB)) +
                "}";
    }
    return json + "]}\n";
}

} // namespace setfolio
