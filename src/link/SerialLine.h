#pragma once

#include "link/Transport.h"
#include "platform/SerialPort.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setfolio {

// The COM ports the program offers: COM1 to COM32.
inline constexpr int ComPortCount = 32;

// The choices of a serial line's settings, in the order the communications dialog lists them
// (the settings file stores a choice's place in its list, so the order is fixed).
inline constexpr std::array<int, 6> BaudRates{1200, 2400, 4800, 9600, 19200, 38400};
inline constexpr std::array<std::string_view, 3> ParityNames{"none", "odd", "even"}; // by Parity
inline constexpr std::array<int, 2> DataBitsChoices{7, 8};
inline constexpr std::array<int, 2> StopBitsChoices{1, 2};

// A choice as an option or an inventory writes it: digits ("9600") or a name ("even"), exactly;
// nothing for any other text.
std::optional<int> ParseBaudRate(std::string_view text);
std::optional<Parity> ParseParity(std::string_view text);
std::optional<int> ParseDataBits(std::string_view text);
std::optional<int> ParseStopBits(std::string_view text);

std::string_view NameOf(Parity parity);

// The line's settings when nobody chose any: the choices the settings file's keys stand for when
// it has none of them, the same for the program and the command line. No port is chosen.
SerialSettings DefaultSerialSettings();

// The choices as an English sentence lists them, "1200, 2400, ... 19200 or 38400", with
// " (the default)" after `byDefault` when it is given.
std::string InWords(std::span<const int> choices, std::optional<int> byDefault = {});
std::string InWords(std::span<const std::string_view> choices,
                    std::optional<std::string_view> byDefault = {});

} // namespace setfolio
