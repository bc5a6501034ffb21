#pragma once

#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "transfer/ProcessorSession.h"

#include <QEventLoop>

#include <string>

namespace setfolio {

// Qt's event loop and ports for the thread that builds it: the command line's, or a worker's of
// a backup (any thread, with or without a QThread of its own).
class QtLinkPlatform : public ThreadPlatform {
public:
    // `settingsFolder` holds the ports/ links that name COM ports; a link to a device path needs
    // none.
    explicit QtLinkPlatform(const std::string& settingsFolder = "")
        : port(settingsFolder), tcp(loop) {}

    LinkPlatform Link() override { return {loop, port, tcp}; }

private:
    // Building a QEventLoop gives a thread that Qt did not start an event dispatcher, which
    // waits, timers and the ports' notifications need.
    QEventLoop m_dispatcher;

public:
    QtEventLoop loop;
    QtSerialPort port;
    QtTcpClient tcp;
};

} // namespace setfolio
