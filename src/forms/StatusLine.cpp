#include "forms/StatusLine.h"

#include "core/Utf8Path.h"
#include "i18n/Messages.h"
#include "link/Decimal.h"
#include "link/PortLinks.h"

#include <vector>

namespace setfolio {

namespace {

// A device by its name under /dev ("ttyUSB0", "pts/3"), anything else by its file name
// ("\\.\COM3" is COM3).
std::string NameOfDevice(const std::string& path) {
    return path.starts_with("/dev/") ? path.substr(5) : FileNameOf(path);
}

} // namespace

std::optional<PortDevice> DeviceOfPort(const std::string& settingsFolder, int port) {
    if (port < 1)
        return std::nullopt;
    const PortLinks links(settingsFolder);
    const PortLinks::Reach reach = links.Reaches(port);
    switch (reach.kind) {
    case PortLinks::Reach::Kind::None:
        return std::nullopt;
    case PortLinks::Reach::Kind::Standard:
        return PortDevice{NameOfDevice(reach.target), true};
    case PortLinks::Reach::Kind::Link:
        // A link that leads nowhere now (an adapter unplugged) is named by what it points at,
        // as the link has it.
        if (reach.missing)
            return PortDevice{reach.target, false};
        return PortDevice{NameOfDevice(links.DevicePath(port)), true};
    }
    return std::nullopt;
}

PortDevice DeviceInUse(const std::string& path) {
    return PortDevice{NameOfDevice(path), true};
}

std::string SerialLinkText(const SerialSettings& settings, const std::optional<PortDevice>& device,
                           const MessageTexts& texts) {
    if (settings.port == 0)
        return "COM OFF";
    std::string text = "COM" + std::to_string(settings.port) + " " +
                       std::to_string(settings.baudRate) + " " + std::to_string(settings.dataBits);
    if (!settings.parity)
        text += "?";
    else
        text += *settings.parity == Parity::Odd    ? "O"
                : *settings.parity == Parity::Even ? "E"
                                                   : "N";
    text += std::to_string(settings.stopBits);
    // Where the port's device is the system's own COMn (Windows), naming it again adds nothing.
    const bool isThePortItself = !PortLinks::MakesLinks() && device && device->present &&
                                 device->name == "COM" + std::to_string(settings.port);
    if (device && !isThePortItself) {
        text += " \u2192 ";
        text += device->present ? device->name
                                : texts.Format(OwnMsg::StatusDeviceMissing, {device->name});
    }
    return text;
}

std::string TcpLinkText(const std::string& host, std::uint16_t port, const MessageTexts& texts) {
    if (host.empty())
        return texts.Text(OwnMsg::StatusNoAddress);
    const bool ipv6 = host.find(':') != std::string::npos;
    return "TCP " + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string AnswerText(ReplyStatus status, const MessageTexts& texts) {
    switch (status) {
    case ReplyStatus::Pending:
        return texts.Text(OwnMsg::StatusNoExchange);
    case ReplyStatus::Ok:
        return texts.Text(OwnMsg::StatusAnswered);
    case ReplyStatus::NoConnection:
        return texts.Text(OwnMsg::StatusNoAnswer);
    case ReplyStatus::PortOff:
        return texts.Text(OwnMsg::StatusPortClosed);
    case ReplyStatus::Aborted:
        return texts.Text(OwnMsg::StatusAborted);
    default:
        return texts.Format(OwnMsg::StatusAnsweredWith, {texts.StatusText(status)});
    }
}

namespace {

// "0:45", "12:05", "1:02:09".
std::string Duration(std::int64_t ms) {
    const std::int64_t seconds = (ms + 999) / 1000;
    const auto two = [](std::int64_t value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    if (seconds >= 3600)
        return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" +
               two(seconds % 60);
    return std::to_string(seconds / 60) + ":" + two(seconds % 60);
}

} // namespace

std::string BlockProgressText(int library, int ordinal, int count, std::int64_t elapsedMs,
                              const MessageTexts& texts) {
    std::string text =
        texts.Format(OwnMsg::BlockProgress,
                     {std::to_string(library), std::to_string(ordinal), std::to_string(count)});
    const int done = ordinal - 1;
    if (done >= 1 && elapsedMs > 0) {
        const std::int64_t left = elapsedMs * (count - done) / done;
        text += "\n" + texts.Format(OwnMsg::BlockTimeLeft, {Duration(left)});
    }
    return text;
}

std::string FormatPlacement(const WindowPlacement& placement) {
    return std::to_string(placement.x) + "," + std::to_string(placement.y) + "," +
           std::to_string(placement.width) + "," + std::to_string(placement.height) + "," +
           (placement.maximized ? "1" : "0");
}

std::optional<WindowPlacement> ParsePlacement(const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const auto number = ParseDecimal(std::string_view(text).substr(start, end - start));
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
        start = end + 1;
    }
    if (numbers.size() != 5 || numbers[2] <= 0 || numbers[3] <= 0 ||
        (numbers[4] != 0 && numbers[4] != 1))
        return std::nullopt;
    return WindowPlacement{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4] == 1};
}

} // namespace setfolio
