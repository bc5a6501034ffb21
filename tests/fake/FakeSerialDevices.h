#pragma once

#include "platform/SerialDevices.h"

#include <vector>

namespace setfolio::fake {

// The serial devices a test says the system has.
class FakeSerialDevices : public SerialDevices {
public:
    std::vector<SerialDevice> devices;
    std::vector<SerialDevice> List() const override { return devices; }
};

} // namespace setfolio::fake
