// Whole libraries downloaded from and uploaded to setfolio-sim over a pseudo-terminal, through the
// classes the program uses, for a model of each family: with the simulator holding every command
// and reply for its wire time at 9600 and 38400 baud, and without (the program's own cost per
// exchange). Prints one table.
//
//   build/dev/bench/setfolio-bench-transfer [runs]
//   build/dev/bench/setfolio-bench-transfer --trace-cost [runs]   (CPU with the link traced or not)
#include "BenchSupport.h"
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "link/LinkTrace.h"
#include "link/Transport.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "tables/ParameterTables.h"
#include "transfer/Download.h"
#include "transfer/TransferView.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <vector>

using namespace setfolio;

namespace {

// Counts the bytes that cross the line in both directions.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& port) : m_port(port) {}
    void SetPortNumber(int n) override { m_port.SetPortNumber(n); }
    void SetDevicePath(const std::string& p) override { m_port.SetDevicePath(p); }
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
        ++writes;
        m_port.SendRaw(bytes);
    }
    std::size_t OutputQueueUsed() const override { return m_port.OutputQueueUsed(); }
    char ReadByte() override {
        ++received;
        return m_port.ReadByte();
    }
    void DiscardInput() override { m_port.DiscardInput(); }
    void SetOnBytesAvailable(std::function<void(std::uint16_t)> h) override {
        m_port.SetOnBytesAvailable(std::move(h));
    }
    void SetOnTrigger(std::function<void(std::uint16_t)> h) override {
        if (!h) {
            m_port.SetOnTrigger({});
            return;
        }
        m_port.SetOnTrigger([this, h = std::move(h)](std::uint16_t handle) {
            ++replies;
            h(handle);
        });
    }
    void Reset() { sent = received = replies = writes = 0; }
    std::size_t sent = 0;
    std::size_t received = 0;
    std::size_t replies = 0; // reply lines, one trigger each
    std::size_t writes = 0;  // commands, or lines of a dump streamed to the processor

private:
    SerialPort& m_port;
};

// Waits as the dialogs do, and adds the waits up: they are part of the protocol, not of the
// line.
class PausingView : public TransferView {
public:
    explicit PausingView(QtEventLoop& loop) : m_loop(loop), m_timer(loop.CreateTimer()) {
        m_timer->SetOnExpiry([this] { m_timer->Stop(); });
    }
    void SetTransferMode(bool, int) override {}
    void SetEnabled(bool) override {}
    void Pause(int ms) override {
        pausedMs += ms;
        m_timer->SetInterval(ms);
        m_timer->Start();
        m_loop.WaitUntil([this] { return !m_timer->IsRunning(); });
    }
    void KeepOpen() override {}
    int Position() const override { return m_position; }
    void SetPosition(int p) override { m_position = p; }
    void SetMaximum(int) override {}
    long pausedMs = 0;

private:
    QtEventLoop& m_loop;
    std::unique_ptr<Timer> m_timer;
    int m_position = 0;
};

struct Measured {
    bool ok = false;
    std::size_t sent = 0;
    std::size_t received = 0;
    std::size_t replies = 0;
    std::size_t exchanges = 0; // commands answered, or lines streamed one way
    double wall = 0;
    double cpu = 0;
    double paused = 0;
};

struct Simulator {
    QProcess process;
    Simulator(const char* path, const QStringList& args) {
        process.start(path, args);
        QEventLoop ready;
        QByteArray out;
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &ready, [&] {
            out += process.readAllStandardOutput();
            if (out.contains("ready"))
                ready.quit();
        });
        QTimer::singleShot(10000, &ready, &QEventLoop::quit);
        ready.exec();
    }
    ~Simulator() {
        process.terminate();
        process.waitForFinished();
    }
};

// Downloads library 5 into a file and uploads that file into library 9 of one simulated
// processor.
std::pair<Measured, Measured> Run(const char* simPath, const char* model, int baud,
                                  bool traced = false) {
    QTemporaryDir folder;
    QStringList args{"--model", model, "--active", "5", "--serial", folder.path() + "/ports/COM1"};
    if (baud > 0)
        args << "--baud" << QString::number(baud);
    const Simulator sim(simPath, args);

    QtEventLoop loop;
    QtSerialPort qtPort(folder.path().toStdString());
    CountingPort port(qtPort);
    QtTcpClient tcp(loop);
    bench::SilentPrompts prompts(true); // calibration data too
    const Settings settings(folder.path().toStdString() + "/none");
    CurrentModel current(settings);
    current.Use(ModelNamed(model).value_or(0));
    Transport transport(port, tcp, loop, prompts);
    // The program's own line settings; the pseudo-terminal ignores the rate, the simulator
    // emulates it.
    transport.SetSerialSettingsSource([baud] {
        return SerialSettings{1, baud > 0 ? baud : 38400, Parity::None, 8, 1};
    });
    Exchange exchange(loop, transport, current, prompts);
    std::unique_ptr<LinkTrace> trace;
    if (traced) {
        trace = std::make_unique<LinkTrace>(
            std::make_unique<FileTraceSink>(folder.path().toStdString() + "/link.trace"),
            [&loop] { return loop.NowMs(); });
        transport.SetTrace(trace.get());
    }
    transport.OpenConnection();
    ParameterTables tables;
    MessageLog log;
    MessageTexts texts;
    const TransferContext context{exchange, current, tables, log, texts, prompts};
    const std::string file = folder.path().toStdString() + "/Line.lvf";

    const auto measure = [&](const std::function<void(PausingView&)>& transfer) {
        PausingView view(loop);
        port.Reset();
        const auto wallStart = std::chrono::steady_clock::now();
        const double cpuStart = bench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
        transfer(view);
        Measured m;
        m.wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        m.cpu = bench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
        m.ok = exchange.replyStatus() == ReplyStatus::Ok;
        m.sent = port.sent;
        m.received = port.received;
        m.replies = port.replies;
        m.exchanges = std::max(port.writes, port.replies);
        m.paused = static_cast<double>(view.pausedMs) / 1000.0;
        return m;
    };
    const Measured down = measure([&](PausingView& view) {
        RunDownload(context, view, DownloadRequest{5, false, 5, file});
    });
    const Measured up = measure([&](PausingView& view) {
        UploadState state;
        state.fileModelType = current.ModelType(); // the file was written by this model
        RunUpload(context, view, state, UploadRequest{9, false, 9, file, true});
    });
    transport.CloseAtExit();
    transport.SetTrace(nullptr);
    if (!down.ok || !up.ok)
        for (const auto& line : log.Lines())
            std::fprintf(stderr, "%s: %s\n", model, line.c_str());
    return {down, up};
}

// One row of the table; the ratio and the overhead are only meaningful with and without wire
// time respectively.
void Print(const char* model, const char* direction, int baud, const Measured& m) {
    const auto fixed = [](double value, int places) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", places, value);
        return std::string(text);
    };
    const double wire = baud > 0 ? static_cast<double>(m.sent + m.received) * 10.0 / baud : 0;
    std::printf(
        "%-5s %-8s %5s %-6s %6zu %6zu %7zu %7.3f %7s %7.3f %8s %7.1f%% %8s\n", model, direction,
        baud > 0 ? std::to_string(baud).c_str() : "none", m.ok ? "Ok" : "FAILED", m.sent,
        m.received, m.replies, m.wall, baud > 0 ? fixed(wire, 3).c_str() : "-", m.paused,
        baud > 0 ? (fixed(100.0 * m.wall / (wire + m.paused), 1) + "%").c_str() : "-",
        100.0 * m.cpu / m.wall,
        baud > 0 ? "-"
                 : fixed(1e6 * (m.wall - m.paused) / static_cast<double>(m.exchanges), 0).c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::string_view(argv[1]) == "--trace-cost") {
        // The program's own cost (no wire time), each transfer with the trace off and on.
        const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
        std::printf("%-5s %-8s %10s %10s %8s\n", "model", "transfer", "CPU off s", "CPU on s",
                    "cost");
        for (const char* model : {"C-12", "M-12", "B-01"}) {
            double off[2] = {0, 0};
            double on[2] = {0, 0};
            for (int i = 0; i < runs; ++i) {
                const auto [downOff, upOff] = Run(SETFOLIO_SIM_PATH, model, 0, false);
                const auto [downOn, upOn] = Run(SETFOLIO_SIM_PATH, model, 0, true);
                off[0] += downOff.cpu;
                off[1] += upOff.cpu;
                on[0] += downOn.cpu;
                on[1] += upOn.cpu;
            }
            for (int k = 0; k < 2; ++k)
                std::printf("%-5s %-8s %10.3f %10.3f %7.1f%%\n", model, k ? "upload" : "download",
                            off[k] / runs, on[k] / runs, 100.0 * (on[k] - off[k]) / off[k]);
        }
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    std::printf("%-5s %-8s %5s %-6s %6s %6s %7s %7s %7s %7s %8s %8s %8s\n", "model", "transfer",
                "baud", "result", "sent", "recv", "replies", "wall s", "wire s", "waits s",
                "wall/due", "CPU/wall", "us/exch");
    for (int i = 0; i < runs; ++i)
        for (const char* model : {"C-12", "M-12", "B-01"})
            for (const int baud : {0, 9600, 38400}) {
                const auto [down, up] = Run(SETFOLIO_SIM_PATH, model, baud);
                Print(model, "download", baud, down);
                Print(model, "upload", baud, up);
            }
    return 0;
}
