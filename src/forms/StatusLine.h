#pragma once

#include "link/ReplyStatus.h"
#include "link/Transport.h"

#include <cstdint>
#include <optional>
#include <string>

namespace setfolio {

class MessageTexts;

// The device a COM number reaches: the end of its ports/COMn link, or /dev/ttyS<n-1>; on
// Windows the port's own name, COMn.
struct PortDevice {
    std::string name; // "ttyUSB0", "pts/3"
    bool present = true;
};

// Where COM`port` leads from `settingsFolder`: the device its ports/COMn entry resolves to (a
// link whose device is gone gives the name it points at, not present), else /dev/ttyS<n-1>
// when that exists, else nothing.
std::optional<PortDevice> DeviceOfPort(const std::string& settingsFolder, int port);
// The device an open port uses, by its path.
PortDevice DeviceInUse(const std::string& path);

// "COM1 9600 8N1 → ttyUSB0", "COM1 9600 8N1 → (missing) /dev/ttyUSB0"; "COM1 9600 8N1" where
// the device is the system's own COM1 (Windows); "COM OFF" for the port switched off.
std::string SerialLinkText(const SerialSettings& settings, const std::optional<PortDevice>& device,
                           const MessageTexts& texts);
// "TCP 192.168.1.20:23", "TCP [fe80::1]:4001"; a text that says so when there is no address.
std::string TcpLinkText(const std::string& host, std::uint16_t port, const MessageTexts& texts);
// Whether the last exchange got an answer, and what it said when that was a refusal.
std::string AnswerText(ReplyStatus status, const MessageTexts& texts);

// "Library 7 — 2 of 6": the library at work and its place in the block, and from the second
// library on the time the rest will take at the pace of the libraries done: `elapsedMs` since
// the first library began.
std::string BlockProgressText(int library, int ordinal, int count, std::int64_t elapsedMs,
                              const MessageTexts& texts);

// The main window's place on the desktop, as the settings file keeps it ("x,y,width,height,
// maximized").
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};
std::string FormatPlacement(const WindowPlacement& placement);
// Nothing for a text that is not five numbers with a positive size.
std::optional<WindowPlacement> ParsePlacement(const std::string& text);

} // namespace setfolio
