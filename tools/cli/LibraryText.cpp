#include "LibraryText.h"

#include <algorithm>

namespace setfolio::cli {

namespace {

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string Quoted(const std::optional<std::string>& text) {
    return text ? "\"" + *text + "\"" : std::string();
}

// A side's value, then those of its later keys of the same name, which no reader takes.
std::string Side(const std::optional<DecodedParameter>& parameter,
                 const std::vector<std::string>& unused) {
    std::string text = !parameter        ? std::string("(none)")
                       : parameter->text ? parameter->stored + " " + Quoted(parameter->text)
                                         : parameter->stored;
    for (const auto& value : unused)
        text += " (again, unused: " + value + ")";
    return text;
}

} // namespace

std::string LibraryText(const DecodedLibrary& library) {
    // No line names the file: `git diff` shows this text of two versions of one file, each read
    // from a temporary file of its own name.
    std::string text;
    std::size_t sectionWidth = 0;
    std::size_t nameWidth = 0;
    std::size_t storedWidth = 0;
    for (const auto& section : library.sections) {
        sectionWidth = std::max(sectionWidth, section.name.size());
        for (const auto& parameter : section.parameters) {
            nameWidth = std::max(nameWidth, parameter.name.size());
            // A long value (a dump line) does not push every meaning to the right.
            if (parameter.stored.size() <= 16)
                storedWidth = std::max(storedWidth, parameter.stored.size());
        }
    }
    for (const auto& section : library.sections) {
        for (const auto& parameter : section.parameters) {
            std::string line =
                Padded(section.name, sectionWidth) + "  " + Padded(parameter.name, nameWidth) +
                "  " +
                (parameter.text || parameter.problem ? Padded(parameter.stored, storedWidth)
                                                     : parameter.stored);
            if (parameter.text)
                line += "  " + Quoted(parameter.text);
            else if (parameter.problem)
                line += "  ?";
            text += line + "\n";
        }
    }
    for (const auto& problem : library.problems)
        text += "problem: " + DecodedText(problem) + "\n";
    return text;
}

std::string DifferencesText(const std::vector<ParameterDifference>& differences,
                            std::string_view nameA, std::string_view nameB) {
    const auto named = [](std::string_view name, const std::optional<DecodedParameter>& side,
                          const std::vector<std::string>& unused) {
        return name.empty() ? Side(side, unused) : std::string(name) + " " + Side(side, unused);
    };
    std::string text;
    for (const auto& difference : differences)
        text += difference.section + "/" + difference.name + ": " +
                named(nameA, difference.a, difference.unusedA) + " -> " +
                named(nameB, difference.b, difference.unusedB) +
                (difference.SameText() ? " (same text)" : "") + "\n";
    return text;
}

} // namespace setfolio::cli
