#include "qt/QtSerialPort.h"
#include "qt/QtEventLoop.h"

#include "PtyPair.h"
#include "QtMain.h"
#include "TempFolder.h"

#include <QSerialPort>
#include <QSocketNotifier>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace setfolio;
using setfolio::testing::GuardedCoreApplication;
using setfolio::testing::PtyPair;
using setfolio::testing::TempFolder;

namespace {

namespace fs = std::filesystem;

class QtSerialPortTest : public ::testing::Test {
protected:
    QtSerialPortTest() {
        fs::create_directory(folder.File("ports"));
        fs::create_symlink(pty.SlavePath(), folder.File("ports/COM3"));
        port.SetPortNumber(3);
        port.SetBaudRate(9600);
        // Every announced byte is taken at once, as the link does; a trigger records what had
        // arrived by then.
        port.SetOnBytesAvailable([this](std::uint16_t count) {
            for (std::uint16_t i = 0; i < count; ++i)
                received.push_back(port.ReadByte());
        });
        port.SetOnTrigger([this](std::uint16_t handle) {
            log.push_back(std::to_string(handle) + "@" + received);
        });
        StartPeer();
    }

    // The device: whatever the program sends lands in `peerReceived`, and a full command is
    // answered with `reply`.
    void StartPeer() {
        peer = std::make_unique<QSocketNotifier>(pty.MasterFd(), QSocketNotifier::Read);
        QObject::connect(peer.get(), &QSocketNotifier::activated, [this] {
            peerReceived += pty.ReadAvailable();
            if (!command.empty() && peerReceived.ends_with(command))
                pty.Write(reply);
        });
    }

    bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 1000) {
        bool expired = false;
        auto timer = loop.CreateTimer();
        timer->SetInterval(timeoutMs);
        timer->SetOnExpiry([&] { expired = true; });
        timer->Start();
        loop.WaitUntil([&] { return expired || condition(); });
        return condition();
    }

    TempFolder folder;
    PtyPair pty;
    QtEventLoop loop;
    QtSerialPort port{folder.Path()};
    std::unique_ptr<QSocketNotifier> peer;
    std::string command;
    std::string reply;
    std::string peerReceived;
    std::string received;
    std::vector<std::string> log;
};

TEST_F(QtSerialPortTest, ReplyEndedByCrRaisesTheTriggerAfterItsBytes) {
    EXPECT_EQ(port.ReadByte(), '\0') << "nothing received yet";
    command = "ID?\r";
    reply = "GAUGE 7\r";
    const auto cr = port.AddDataTrigger("\r");
    EXPECT_TRUE(port.IsOpen());
    port.SendRaw(command);

    ASSERT_TRUE(WaitFor([&] { return !log.empty(); }));
    EXPECT_EQ(peerReceived, "ID?\r");
    EXPECT_EQ(log, std::vector<std::string>{std::to_string(cr) + "@GAUGE 7\r"});
}

TEST_F(QtSerialPortTest, HandlerThatThrowsLeavesThePortListening) {
    const auto cr = port.AddDataTrigger("\r");
    bool thrown = false;
    port.SetOnTrigger([&](std::uint16_t handle) {
        if (!std::exchange(thrown, true))
            throw std::runtime_error("handler failed");
        log.push_back(std::to_string(handle) + "@" + received);
    });
    GuardedCoreApplication::errors.clear();
    pty.Write("A\r");
    // The error reaches the application's handler as an event of its own.
    ASSERT_TRUE(WaitFor([&] { return !GuardedCoreApplication::errors.empty(); }));
    EXPECT_EQ(GuardedCoreApplication::errors, std::vector<std::string>{"handler failed"});

    pty.Write("B\r");
    ASSERT_TRUE(WaitFor([&] { return !log.empty(); }));
    EXPECT_EQ(log, std::vector<std::string>{std::to_string(cr) + "@A\rB\r"});
}

TEST_F(QtSerialPortTest, OverlappingTriggersFireInStreamOrderAcrossChunks) {
    const auto cr = port.AddDataTrigger("\r");
    const auto crlf = port.AddDataTrigger("\r\n");
    const auto c = std::to_string(cr);
    const auto cl = std::to_string(crlf);

    pty.Write("OK\r\n");
    ASSERT_TRUE(WaitFor([&] { return log.size() == 2; }));
    EXPECT_EQ(log, (std::vector<std::string>{c + "@OK\r", cl + "@OK\r\n"}));

    // The CR LF arrives split over two writes.
    log.clear();
    received.clear();
    pty.Write("12.5\r");
    ASSERT_TRUE(WaitFor([&] { return log.size() == 1; }));
    pty.Write("\n");
    ASSERT_TRUE(WaitFor([&] { return log.size() == 2; }));
    EXPECT_EQ(log, (std::vector<std::string>{c + "@12.5\r", cl + "@12.5\r\n"}));
}

TEST_F(QtSerialPortTest, TriggersSurviveCloseUnderTheSameHandles) {
    const auto cr = port.AddDataTrigger("\r");
    const auto crlf = port.AddDataTrigger("\r\n");
    pty.Write("A\r");
    ASSERT_TRUE(WaitFor([&] { return log.size() == 1; }));

    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.OutputQueueUsed(), 0u);
    // Closed: removing has no effect, the trigger stays.
    port.RemoveTrigger(cr);

    log.clear();
    received.clear();
    command = "X\r";
    reply = "\nB\r\n";
    port.SendRaw(command); // reopens
    EXPECT_TRUE(port.IsOpen());
    ASSERT_TRUE(WaitFor([&] { return log.size() == 2; }));
    // The CR from before the close does not pair with the first LF after it.
    EXPECT_EQ(log, (std::vector<std::string>{std::to_string(cr) + "@\nB\r",
                                             std::to_string(crlf) + "@\nB\r\n"}));
}

TEST_F(QtSerialPortTest, RemovedTriggerNoLongerFires) {
    const auto cr = port.AddDataTrigger("\r");
    const auto lf = port.AddDataTrigger("\n");
    port.RemoveTrigger(cr);
    pty.Write("P\r\n");
    ASSERT_TRUE(WaitFor([&] { return log.size() == 1; }));
    EXPECT_EQ(log, std::vector<std::string>{std::to_string(lf) + "@P\r\n"});
}

TEST_F(QtSerialPortTest, EveryByteValuePassesUnchangedBothWays) {
    std::string all;
    for (int value = 0; value < 256; ++value)
        all.push_back(static_cast<char>(value));

    port.SendRaw(all);
    ASSERT_TRUE(WaitFor([&] { return peerReceived.size() >= all.size(); }));
    EXPECT_EQ(peerReceived, all);

    pty.Write(all);
    ASSERT_TRUE(WaitFor([&] { return received.size() >= all.size(); }));
    EXPECT_EQ(received, all);
}

TEST_F(QtSerialPortTest, BurstLargerThanTheInputQueueIsReceivedWhole) {
    port.SetInputQueueSize(16);
    port.AddDataTrigger("#");
    std::string burst;
    for (int i = 0; i < 5000; ++i)
        burst.push_back(static_cast<char>('a' + i % 26));
    burst += "#";
    pty.Write(burst);
    ASSERT_TRUE(WaitFor([&] { return !log.empty(); }));
    EXPECT_EQ(received, burst);
}

TEST_F(QtSerialPortTest, MissingDevicesAreReportedAsNotExisting) {
    auto expectMissing = [&](int number) {
        port.SetPortNumber(number);
        try {
            port.AddDataTrigger("\r");
            ADD_FAILURE() << "COM" << number << " opened";
        } catch (const PortError& error) {
            EXPECT_EQ(error.Kind(), PortErrorKind::DoesNotExist) << error.what();
            EXPECT_EQ(error.PortNumber(), number);
        }
        EXPECT_FALSE(port.IsOpen());
    };

    // A link to an unplugged device names that device, never the system's own port.
    fs::create_symlink(folder.File("unplugged"), folder.File("ports/COM1"));
    port.SetPortNumber(1);
    try {
        port.AddDataTrigger("\r");
        ADD_FAILURE() << "COM1 opened";
    } catch (const PortError& error) {
        EXPECT_EQ(error.MissingDevice(), folder.File("unplugged")) << error.what();
    }
    expectMissing(1);
    expectMissing(0);
    expectMissing(33);
    for (int n = 32; n >= 1; --n) {
        if (!fs::exists("/dev/ttyS" + std::to_string(n - 1)) &&
            !fs::exists(folder.File("ports/COM" + std::to_string(n)))) {
            EXPECT_EQ(port.DevicePath(n), "/dev/ttyS" + std::to_string(n - 1));
            expectMissing(n);
            break;
        }
    }
}

// The simulator that made COM3's link ends and removes it: chosen again (the communications
// dialog's OK), the port still means that device and says it is gone; it never opens the system's
// own /dev/ttyS2. Once the link is back the port opens, and tells which device it uses.
TEST_F(QtSerialPortTest, APortChosenThroughItsLinkKeepsMeaningItsDevice) {
    port.SendRaw("x");
    EXPECT_EQ(port.OpenDevicePath(), fs::canonical(pty.SlavePath()).string());
    port.Close();
    EXPECT_EQ(port.OpenDevicePath(), "");

    fs::remove(folder.File("ports/COM3"));
    port.SetPortNumber(3);
    try {
        port.SendRaw("y");
        ADD_FAILURE() << "opened " << port.OpenDevicePath();
    } catch (const PortError& error) {
        EXPECT_EQ(error.Kind(), PortErrorKind::DoesNotExist) << error.what();
        EXPECT_EQ(error.MissingDevice(), pty.SlavePath()) << error.what();
    }
    EXPECT_FALSE(port.IsOpen());

    fs::create_symlink(pty.SlavePath(), folder.File("ports/COM3"));
    port.SetPortNumber(3);
    port.SendRaw("z");
    EXPECT_TRUE(WaitFor([&] { return peerReceived.ends_with("z"); })) << peerReceived;
    EXPECT_EQ(port.OpenDevicePath(), fs::canonical(pty.SlavePath()).string());
}

TEST_F(QtSerialPortTest, ADevicePathIsOpenedInPlaceOfTheNumberedPort) {
    // COM9 leads nowhere: only the path can reach the device.
    fs::create_symlink(folder.File("unplugged"), folder.File("ports/COM9"));
    port.SetPortNumber(9);
    port.SetDevicePath(pty.SlavePath());
    port.SendRaw("x\r");
    ASSERT_TRUE(WaitFor([&] { return peerReceived == "x\r"; })) << peerReceived;

    // A missing device is reported as the port's own, with the path named.
    port.Close();
    port.SetDevicePath(folder.File("gone"));
    try {
        port.SendRaw("x");
        ADD_FAILURE() << "a missing device opened";
    } catch (const PortError& error) {
        EXPECT_EQ(error.Kind(), PortErrorKind::DoesNotExist);
        EXPECT_EQ(error.PortNumber(), 9);
        EXPECT_NE(std::string(error.what()).find(folder.File("gone")), std::string::npos)
            << error.what();
    }
    // Without a path the number counts again.
    port.SetDevicePath("");
    port.SetPortNumber(3);
    port.SendRaw("y");
    EXPECT_TRUE(WaitFor([&] { return peerReceived == "x\ry"; })) << peerReceived;
}

TEST_F(QtSerialPortTest, APathThatIsNoSerialDeviceIsToldByItsPathAndWhatItIs) {
    folder.Write("notes.txt", "x");
    fs::create_directory(folder.File("folder"));
    fs::create_symlink(folder.File("folder"), folder.File("ports/COM5"));
    struct Case {
        std::string path; // given as the device; empty: COM5, whose link leads to the folder
        PortErrorKind kind;
        std::string device;
    };
    const Case cases[] = {
        {folder.File("notes.txt"), PortErrorKind::IsAFile, folder.File("notes.txt")},
        {folder.File("folder"), PortErrorKind::IsAFolder, folder.File("folder")},
        {folder.File("nothing"), PortErrorKind::DoesNotExist, folder.File("nothing")},
        {"/dev/null", PortErrorKind::Other, "/dev/null"},
        {"", PortErrorKind::IsAFolder, fs::canonical(folder.File("folder")).string()},
    };
    for (const auto& c : cases) {
        port.Close();
        port.SetDevicePath(c.path);
        port.SetPortNumber(c.path.empty() ? 5 : 1);
        try {
            port.SendRaw("x");
            ADD_FAILURE() << c.path << " opened";
        } catch (const PortError& error) {
            EXPECT_EQ(error.Kind(), c.kind) << c.path << ": " << error.what();
            EXPECT_EQ(error.Device(), c.device) << c.path;
            if (c.kind == PortErrorKind::Other) {
                EXPECT_FALSE(error.Reason().empty()) << "the system's own words";
            }
        }
        EXPECT_FALSE(port.IsOpen());
    }
}

TEST_F(QtSerialPortTest, DeviceHeldByAnotherPortIsReportedAsAlreadyOpen) {
    // Held under its real name; this port reaches it through the link, which must not matter.
    QSerialPort holder(QString::fromStdString(pty.SlavePath()));
    if (!holder.open(QIODevice::ReadWrite))
        GTEST_SKIP() << "cannot open the pseudo-terminal: " << holder.errorString().toStdString();
    try {
        port.SendRaw("x");
        FAIL() << "opened a device that is in use (no writable lock folder on this machine?)";
    } catch (const PortError& error) {
        EXPECT_EQ(error.Kind(), PortErrorKind::AlreadyOpen) << error.what();
        EXPECT_EQ(error.PortNumber(), 3);
    }
    holder.close();
    port.SendRaw("x");
    EXPECT_TRUE(port.IsOpen()) << "free again once the other side closed";
}

TEST_F(QtSerialPortTest, UnpluggedDeviceClosesThePortAndTheNextUseFails) {
    port.AddDataTrigger("\r");
    pty.Write("1\r");
    ASSERT_TRUE(WaitFor([&] { return log.size() == 1; }));

    peer.reset();
    pty.CloseAll();
    ASSERT_TRUE(WaitFor([&] { return !port.IsOpen(); }));
    EXPECT_EQ(port.OutputQueueUsed(), 0u);
    loop.ProcessEvents();
    try {
        port.SendRaw("again\r");
        FAIL() << "sent to a device that is gone";
    } catch (const PortError& error) {
        EXPECT_EQ(error.Kind(), PortErrorKind::DoesNotExist) << error.what();
    }
}

} // namespace
