#include "link/SerialLine.h"

#include "core/Settings.h"
#include "core/WholeNumber.h"

#include <algorithm>
#include <vector>

namespace setfolio {

namespace {

std::optional<int> OneOf(std::span<const int> choices, std::string_view text) {
    const auto number = ParseWholeNumber(text);
    if (!number || std::find(choices.begin(), choices.end(), *number) == choices.end())
        return std::nullopt;
    return *number;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            text += i + 1 == words.size() ? " or " : ", ";
        text += words[i];
    }
    return text;
}

std::string Word(std::string word, bool byDefault) {
    return byDefault ? word + " (the default)" : word;
}

} // namespace

std::optional<int> ParseBaudRate(std::string_view text) {
    return OneOf(BaudRates, text);
}

std::optional<Parity> ParseParity(std::string_view text) {
    const auto found = std::find(ParityNames.begin(), ParityNames.end(), text);
    if (found == ParityNames.end())
        return std::nullopt;
    return static_cast<Parity>(found - ParityNames.begin());
}

std::optional<int> ParseDataBits(std::string_view text) {
    return OneOf(DataBitsChoices, text);
}

std::optional<int> ParseStopBits(std::string_view text) {
    return OneOf(StopBitsChoices, text);
}

std::string_view NameOf(Parity parity) {
    return ParityNames.at(static_cast<std::size_t>(parity));
}

SerialSettings DefaultSerialSettings() {
    const auto choice = [](const auto& choices, const IntegerSetting& key) {
        return choices.at(static_cast<std::size_t>(key.defaultValue));
    };
    SerialSettings settings;
    settings.port = 0;
    settings.baudRate = choice(BaudRates, keys::BaudRate);
    settings.parity = static_cast<Parity>(keys::Parity.defaultValue);
    settings.dataBits = choice(DataBitsChoices, keys::DataBits);
    settings.stopBits = choice(StopBitsChoices, keys::StopBits);
    return settings;
}

std::string InWords(std::span<const int> choices, std::optional<int> byDefault) {
    std::vector<std::string> words;
    for (const int choice : choices)
        words.push_back(Word(std::to_string(choice), choice == byDefault));
    return Joined(words);
}

std::string InWords(std::span<const std::string_view> choices,
                    std::optional<std::string_view> byDefault) {
    std::vector<std::string> words;
    for (const auto choice : choices)
        words.push_back(Word(std::string(choice), choice == byDefault));
    return Joined(words);
}

} // namespace setfolio
