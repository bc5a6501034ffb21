#include "qt/QtSerialDevices.h"

#include <QSerialPortInfo>

#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

namespace setfolio {

namespace fs = std::filesystem;

QtSerialDevices::QtSerialDevices(std::string byIdFolder) : m_byIdFolder(std::move(byIdFolder)) {}

std::vector<SerialDevice> QtSerialDevices::List() const {
    // The stable names, by the device each leads to.
    std::map<std::string, std::string> stableNames;
    std::error_code error;
    for (fs::directory_iterator entry(m_byIdFolder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code unresolved;
        const fs::path device = fs::canonical(entry->path(), unresolved);
        if (!unresolved)
            stableNames.emplace(device.string(), entry->path().string());
    }

    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.systemPath = info.systemLocation().toStdString();
        std::error_code unresolved;
        const std::string real = fs::canonical(device.systemPath, unresolved).string();
        const auto stable = unresolved ? stableNames.end() : stableNames.find(real);
        device.path = stable != stableNames.end() ? stable->second : device.systemPath;
        device.description = info.description().toStdString();
        device.manufacturer = info.manufacturer().toStdString();
        device.serialNumber = info.serialNumber().toStdString();
        devices.push_back(std::move(device));
    }
    return devices;
}

} // namespace setfolio
