#pragma once

#include "platform/SerialDevices.h"

#include <string>

namespace setfolio {

// The serial devices QSerialPortInfo finds, each under its /dev/serial/by-id/ name where the
// system gives it one.
class QtSerialDevices : public SerialDevices {
public:
    // `byIdFolder` is where the stable names are looked for.
    explicit QtSerialDevices(std::string byIdFolder = "/dev/serial/by-id");
    std::vector<SerialDevice> List() const override;

private:
    std::string m_byIdFolder;
};

} // namespace setfolio
