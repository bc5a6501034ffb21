// A plant backed up at once: `setfolio-cli backup` of N simulated C-12 processors over loopback
// TCP, three libraries each, every simulator emulating a 9600-baud line, against the same backup
// of one processor alone.
//
//   build/dev/bench/setfolio-bench-backup [runs] [N ...]      (1 run; N = 32 64 unless given)
//
// Each simulator is a process of its own on a free port of 127.0.0.1. The backup runs with as
// many jobs as processors, into a fresh folder each run. For the backup process it reports the
// wall time, the wall time against one processor's (the line is the bottleneck, so the ideal is
// 1.00), its processor time (user and system) against the wall time, and its peak resident
// memory. The machine's cores are shared with the simulators, so ratios say more than seconds.
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <type_traits>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int LibrariesEach = 3;
constexpr int Baud = 9600;
constexpr int SimulatorStartMs = 20000;

struct Measured {
    double wall = 0;
    double cpu = 0;
    long peakKb = 0;
    int status = -1;
};

double MonotonicSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// N simulated processors, each announcing its port once it listens.
class Simulators {
public:
    bool Start(int count) {
        for (int i = 0; i < count; ++i) {
            auto process = std::make_unique<QProcess>();
            process->setProcessChannelMode(QProcess::SeparateChannels);
            process->start(SETFOLIO_SIM_PATH, {"--model", "C-12", "--tcp", "0", "--baud",
                                               QString::number(Baud), "--active", "7"});
            m_processes.push_back(std::move(process));
        }
        QElapsedTimer waited;
        waited.start();
        static const QRegularExpression tcpLine("tcp 127\\.0\\.0\\.1:(\\d+)");
        for (auto& process : m_processes) {
            QByteArray out;
            while (!out.contains("ready") && waited.elapsed() < SimulatorStartMs) {
                process->waitForReadyRead(200);
                out += process->readAllStandardOutput();
            }
            const auto match = tcpLine.match(QString::fromLatin1(out));
            if (!match.hasMatch()) {
                std::fprintf(stderr, "a simulator did not start: %s\n",
                             process->readAllStandardError().constData());
                return false;
            }
            m_ports.push_back(match.captured(1).toInt());
        }
        return true;
    }
    ~Simulators() {
        for (auto& process : m_processes)
            process->terminate();
        for (auto& process : m_processes)
            process->waitForFinished(5000);
    }
    const std::vector<int>& Ports() const { return m_ports; }

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
    std::vector<int> m_ports;
};

bool WriteInventory(const QString& path, const std::vector<int>& ports) {
    QByteArray text;
    for (std::size_t i = 0; i < ports.size(); ++i)
        text += "[Line " + QByteArray::number(static_cast<int>(i) + 1) + "]\nModel=C-12\n" +
                "Tcp=127.0.0.1:" + QByteArray::number(ports[i]) + "\nLibraries=1-" +
                QByteArray::number(LibrariesEach) + "\n\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Runs the backup as a child of its own, so that its processor time and peak memory are its own.
std::optional<Measured> RunBackup(const QString& inventory, const QString& destination, int jobs) {
    const std::string inv = inventory.toStdString(), dest = destination.toStdString(),
                      jobText = std::to_string(jobs);
    std::vector<char*> argv{const_cast<char*>(SETFOLIO_CLI_PATH), const_cast<char*>("backup"),
                            const_cast<char*>(inv.c_str()),       const_cast<char*>("--dest"),
                            const_cast<char*>(dest.c_str()),      const_cast<char*>("--jobs"),
                            const_cast<char*>(jobText.c_str()),   nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    Measured measured;
    const double start = MonotonicSeconds();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, SETFOLIO_CLI_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "cannot start %s\n", SETFOLIO_CLI_PATH);
        return std::nullopt;
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return std::nullopt;
    measured.wall = MonotonicSeconds() - start;
    measured.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    measured.peakKb = usage.ru_maxrss;
    measured.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return measured;
}

// The median of each figure over `runs` backups of `count` processors.
std::optional<Measured> Measure(int count, int runs) {
    Simulators simulators;
    if (!simulators.Start(count))
        return std::nullopt;
    QTemporaryDir folder;
    const QString inventory = folder.filePath("plant.ini");
    if (!WriteInventory(inventory, simulators.Ports()))
        return std::nullopt;
    std::vector<Measured> all;
    for (int run = 0; run < runs; ++run) {
        const QString destination = folder.filePath("backup-" + QString::number(run));
        const auto measured = RunBackup(inventory, destination, count);
        if (!measured)
            return std::nullopt;
        if (measured->status != 0) {
            std::fprintf(stderr, "the backup of %d processors exited with %d\n", count,
                         measured->status);
            return std::nullopt;
        }
        all.push_back(*measured);
    }
    auto median = [&](auto field) {
        std::vector<std::decay_t<decltype(all.front().*field)>> values;
        for (const auto& m : all)
            values.push_back(m.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return Measured{median(&Measured::wall), median(&Measured::cpu), median(&Measured::peakKb), 0};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 1;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        const int value = std::atoi(argv[i]);
        if (value < 1 || value > 256) {
            std::fprintf(stderr, "usage: %s [runs] [N ...]   (N: 1 to 256 processors)\n", argv[0]);
            return 2;
        }
        if (i == 1)
            runs = value;
        else
            counts.push_back(value);
    }
    if (counts.empty())
        counts = {32, 64};
    counts.insert(counts.begin(), 1);

    std::printf("setfolio-cli backup: N simulated C-12 over loopback TCP, %d libraries each, "
                "%d baud emulated; median of %d run(s)\n",
                LibrariesEach, Baud, runs);
    std::printf("%5s %9s %9s %9s %10s\n", "N", "wall s", "vs one", "CPU/wall", "peak MiB");
    double alone = 0;
    for (const int count : counts) {
        const auto measured = Measure(count, runs);
        if (!measured)
            return 1;
        if (count == 1)
            alone = measured->wall;
        std::printf("%5d %9.2f %9.2f %8.1f%% %10.1f\n", count, measured->wall,
                    measured->wall / alone, 100.0 * measured->cpu / measured->wall,
                    static_cast<double>(measured->peakKb) / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
