// A whole C-12 library downloaded from setfolio-sim over a pseudo-terminal, through the classes
// the program uses: once with the simulator adding the wire time of 9600 baud to every reply,
// once without (the program's own cost per exchange).
//
//   build/dev/bench/setfolio-bench-download [runs]
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/Settings.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "platform/Prompts.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "tables/ParameterTables.h"
#include "transfer/Download.h"
#include "transfer/TransferView.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

using namespace setfolio;

namespace {

class SilentPrompts : public Prompts {
public:
    void ErrorBox(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void WarningBeep() override {}
    void DefaultBeep() override {}
    bool WarningYesNo(const std::string&) override { return false; }
};

// Counts the bytes that cross the line in both directions.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& port) : m_port(port) {}
    void SetPortNumber(int n) override { m_port.SetPortNumber(n); }
    void SetBaudRate(int b) override { m_port.SetBaudRate(b); }
    void SetParity(Parity p) override { m_port.SetParity(p); }
    void SetDataBits(int b) override { m_port.SetDataBits(b); }
    void SetStopBits(int b) override { m_port.SetStopBits(b); }
    void SetInputQueueSize(std::size_t s) override { m_port.SetInputQueueSize(s); }
    void SetOutputQueueSize(std::size_t s) override { m_port.SetOutputQueueSize(s); }
    std::uint16_t AddDataTrigger(std::string_view s) override { return m_port.AddDataTrigger(s); }
    void RemoveTrigger(std::uint16_t h) override { m_port.RemoveTrigger(h); }
    void Close() override { m_port.Close(); }
    bool IsOpen() const override { return m_port.IsOpen(); }
    void SendRaw(std::string_view bytes) override {
        sent += bytes.size();
        m_port.SendRaw(bytes);
    }
    std::size_t OutputQueueUsed() const override { return m_port.OutputQueueUsed(); }
    char ReadByte() override {
        ++received;
        return m_port.ReadByte();
    }
    void SetOnBytesAvailable(std::function<void(std::uint16_t)> h) override {
        m_port.SetOnBytesAvailable(std::move(h));
    }
    void SetOnTrigger(std::function<void(std::uint16_t)> h) override {
        m_port.SetOnTrigger(std::move(h));
    }
    std::size_t sent = 0;
    std::size_t received = 0;

private:
    SerialPort& m_port;
};

class NoView : public TransferView {
public:
    void SetTransferMode(bool, int) override {}
    void SetEnabled(bool) override {}
    void Pause(int) override {}
    void KeepOpen() override {}
    int Position() const override { return m_position; }
    void SetPosition(int p) override { m_position = p; }
    void SetMaximum(int) override {}

private:
    int m_position = 0;
};

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void Run(const char* simPath, int baud) {
    QTemporaryDir folder;
    QStringList args{"--model", "C-12", "--active", "5", "--serial", folder.path() + "/ports/COM1"};
    if (baud > 0)
        args << "--baud" << QString::number(baud);
    QProcess sim;
    sim.start(simPath, args);
    QEventLoop ready;
    QObject::connect(&sim, &QProcess::readyReadStandardOutput, &ready, [&] {
        if (sim.readAllStandardOutput().contains("ready"))
            ready.quit();
    });
    QTimer::singleShot(10000, &ready, &QEventLoop::quit);
    ready.exec();

    QtEventLoop loop;
    QtSerialPort qtPort(folder.path().toStdString());
    CountingPort port(qtPort);
    QtTcpClient tcp(loop);
    SilentPrompts prompts;
    const Settings settings(folder.path().toStdString() + "/none");
    CurrentModel model(settings);
    model.Use(0);
    Transport transport(port, tcp, loop, prompts);
    transport.SetSerialSettingsSource([] { return SerialSettings{1, 9600, Parity::None, 8, 1}; });
    Exchange exchange(loop, transport, model, prompts);
    transport.OpenConnection();
    ParameterTables tables;
    MessageLog log;
    MessageTexts texts;
    NoView view;
    const TransferContext context{exchange, model, tables, log, texts, prompts};

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    DownloadCoded(context, view, 5, folder.path().toStdString() + "/Line.lvf");
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    const int exchanges = view.Position() + 1;

    std::printf("%s: %s, %d exchanges, %zu bytes sent, %zu received, wall %.3f s, "
                "CPU %.3f s (%.1f %% of wall)",
                baud > 0 ? "9600 baud" : "no wire time",
                exchange.replyStatus == ReplyStatus::Ok ? "Ok" : "FAILED", exchanges, port.sent,
                port.received, wall, cpu, 100.0 * cpu / wall);
    if (baud > 0) {
        const double replyWire = static_cast<double>(port.received) * 10.0 / baud;
        const double allWire = static_cast<double>(port.received + port.sent) * 10.0 / baud;
        std::printf(", wire time of the replies %.3f s (wall is %.1f %% of it), of all bytes "
                    "%.3f s (%.1f %%)",
                    replyWire, 100.0 * wall / replyWire, allWire, 100.0 * wall / allWire);
    } else {
        std::printf(", %.0f us per exchange", 1e6 * wall / exchanges);
    }
    std::printf("\n");
    transport.CloseAtExit();
    sim.terminate();
    sim.waitForFinished();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    for (int i = 0; i < runs; ++i) {
        Run(SETFOLIO_SIM_PATH, 0);
        Run(SETFOLIO_SIM_PATH, 9600);
    }
    return 0;
}
