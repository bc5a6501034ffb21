#pragma once

#include <string>
#include <vector>

namespace setfolio {

// A serial device the system has, as the communications dialog offers it.
struct SerialDevice {
    // The name a port link should lead to: the device's stable name under /dev/serial/by-id/
    // where the system gives it one, which stays with the adapter when it is plugged in again.
    std::string path;
    // The device the system opens now ("/dev/ttyUSB0").
    std::string systemPath;
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
};

// The serial devices present now, in the order the system lists them.
class SerialDevices {
public:
    virtual ~SerialDevices() = default;
    virtual std::vector<SerialDevice> List() const = 0;
};

} // namespace setfolio
