// Cold start of the program under X: the time from starting the setfolio executable to the first
// paint of its main window, and its resident memory once the start-up query has been answered.
//
//   build/dev/bench/setfolio-bench-startup [runs]        (10 runs unless given)
//
// Each run copies the executable into a temporary folder of its own, so that the build folder
// gets no settings file and no port link, writes a settings file there that selects COM1, and
// starts setfolio-sim as a C-12 on that folder's ports/COM1, so the start-up's library query
// gets a real answer. The program reports its first paint when SETFOLIO_REPORT_FIRST_PAINT is
// set (a reading of CLOCK_MONOTONIC, which is system-wide); the benchmark reads the same clock
// just before starting it. Without DISPLAY it starts an Xvfb of its own, so it runs on a
// headless machine too; the program always gets the xcb platform, so it really paints.
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <vector>

namespace {

constexpr int IdleAfterPaintMs = 1500; // the start-up query is answered, the program idles
constexpr int FirstPaintTimeoutMs = 30000;

long long MonotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Children end with the benchmark, however it ends: no Xvfb or simulator is left behind.
void EndWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

// Runs the event loop until `done` holds for what the process wrote on stdout, the process ends,
// or the time is up. True when `done` held.
bool WaitForOutput(QProcess& process, QByteArray& output,
                   const std::function<bool(const QByteArray&)>& done, int timeoutMs) {
    if (done(output))
        return true;
    QEventLoop wait;
    const auto read = QObject::connect(&process, &QProcess::readyReadStandardOutput, &wait, [&] {
        output += process.readAllStandardOutput();
        if (done(output))
            wait.quit();
    });
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &wait, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &wait, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        wait.exec();
    QObject::disconnect(read);
    output += process.readAllStandardOutput();
    return done(output);
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QString Trimmed(const QByteArray& text) {
    return QString::fromLocal8Bit(text).trimmed();
}

// An X server of the benchmark's own, for machines without a display.
class VirtualDisplay {
public:
    ~VirtualDisplay() { Stop(m_process); }

    bool Start(QString& error) {
        for (int number = 99, attempts = 0; number < 300 && attempts < 10; ++number) {
            if (QFileInfo::exists(QString("/tmp/.X%1-lock").arg(number)) ||
                QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(number)))
                continue;
            ++attempts;
            // With -displayfd the server writes its number once it accepts clients; a number
            // taken in the meantime makes it end instead, and the next one is tried.
            EndWithParent(m_process);
            m_process.start("Xvfb", {QString(":%1").arg(number), "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp", "-displayfd", "1"});
            if (!m_process.waitForStarted(5000)) {
                error = "cannot start Xvfb: " + m_process.errorString();
                return false;
            }
            QByteArray output;
            if (WaitForOutput(
                    m_process, output, [](const QByteArray& out) { return out.contains('\n'); },
                    10000) &&
                m_process.state() == QProcess::Running) {
                m_name = ":" + Trimmed(output);
                return true;
            }
            error = "Xvfb :" + QString::number(number) +
                    " did not start: " + Trimmed(m_process.readAllStandardError());
            Stop(m_process);
        }
        return false;
    }
    const QString& Name() const { return m_name; }

private:
    QProcess m_process;
    QString m_name;
};

// Whether the simulator's log shows a reply: the program measured is the one that talks to a
// processor, not one showing an error box.
bool Answered(const QString& simLog) {
    QFile log(simLog);
    return log.open(QIODevice::ReadOnly) && log.readAll().contains(" -> ");
}

struct Sample {
    double firstPaintMs = 0;
    double rssMiB = 0;
    double peakMiB = 0;
};

// VmRSS and VmHWM of a process, in MiB.
bool ReadMemory(qint64 pid, Sample& sample) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    int found = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const auto kibibytes = [&] { return line.mid(6).trimmed().split(' ').front().toDouble(); };
        if (line.startsWith("VmRSS:")) {
            sample.rssMiB = kibibytes() / 1024.0;
            ++found;
        } else if (line.startsWith("VmHWM:")) {
            sample.peakMiB = kibibytes() / 1024.0;
            ++found;
        }
    }
    return found == 2;
}

std::optional<Sample> Run(const QString& display, QString& error) {
    QTemporaryDir folder;
    if (!folder.isValid()) {
        error = "cannot make a temporary folder";
        return std::nullopt;
    }
    const QString program = folder.filePath("setfolio");
    if (!QFile::copy(SETFOLIO_PROGRAM_PATH, program) ||
        !QFile::setPermissions(program, QFileInfo(SETFOLIO_PROGRAM_PATH).permissions())) {
        error = "cannot copy " SETFOLIO_PROGRAM_PATH " to " + folder.path();
        return std::nullopt;
    }
    // COM1, as scripts/run.sh sets up a first start; with a settings file there, the start
    // shows no language dialog either.
    QFile settings(folder.filePath("Setfolio.ini"));
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write("[ComPortSettings]\r\nComPort=0\r\n") < 0 || !settings.flush()) {
        error = "cannot write " + settings.fileName();
        return std::nullopt;
    }
    settings.close();

    QProcess sim;
    EndWithParent(sim);
    sim.start(SETFOLIO_SIM_PATH,
              {"--model", "C-12", "--active", "12", "--serial", folder.filePath("ports/COM1"),
               "--log", folder.filePath("sim.log")});
    QByteArray simOutput;
    if (!WaitForOutput(
            sim, simOutput, [](const QByteArray& out) { return out.contains("ready"); }, 10000)) {
        error = "setfolio-sim did not start: " + Trimmed(simOutput) + " " +
                Trimmed(sim.readAllStandardError());
        Stop(sim);
        return std::nullopt;
    }

    QProcess setfolio;
    EndWithParent(setfolio);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("SETFOLIO_REPORT_FIRST_PAINT", "1");
    setfolio.setProcessEnvironment(environment);
    setfolio.setWorkingDirectory(folder.path());
    QByteArray output;
    const auto painted = [](const QByteArray& out) {
        const auto at = out.indexOf("first-paint ");
        return at >= 0 && out.indexOf('\n', at) > at;
    };

    const long long started = MonotonicNs();
    setfolio.start(program, {});
    const bool reported = WaitForOutput(setfolio, output, painted, FirstPaintTimeoutMs);

    std::optional<Sample> sample;
    if (!reported) {
        if (setfolio.error() == QProcess::FailedToStart)
            error = "cannot start " + program + ": " + setfolio.errorString();
        else if (setfolio.state() == QProcess::NotRunning)
            error = "setfolio ended before its first paint";
        else
            error = "no first paint within " + QString::number(FirstPaintTimeoutMs) + " ms";
    } else {
        const auto at = output.indexOf("first-paint ") + 12;
        const long long paintedAt = output.mid(at, output.indexOf('\n', at) - at).toLongLong();
        QEventLoop idle;
        QObject::connect(&setfolio, &QProcess::finished, &idle, &QEventLoop::quit);
        QTimer::singleShot(IdleAfterPaintMs, &idle, &QEventLoop::quit);
        idle.exec();
        Sample measured;
        measured.firstPaintMs = static_cast<double>(paintedAt - started) / 1e6;
        if (setfolio.state() != QProcess::Running)
            error = "setfolio ended before its memory was read";
        else if (!Answered(folder.filePath("sim.log")))
            error = "the start-up query got no answer from setfolio-sim in time";
        else if (!ReadMemory(setfolio.processId(), measured))
            error = "cannot read /proc/" + QString::number(setfolio.processId()) + "/status";
        else
            sample = measured;
    }
    Stop(setfolio);
    Stop(sim);
    if (!sample) {
        const QString messages = Trimmed(setfolio.readAllStandardError());
        if (!messages.isEmpty())
            error += "\nsetfolio wrote:\n" + messages;
    }
    return sample;
}

struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return {median, values.front(), values.back()};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    QString display = qEnvironmentVariable("DISPLAY");
    std::optional<VirtualDisplay> ownDisplay;
    QString error;
    if (display.isEmpty()) {
        ownDisplay.emplace();
        if (!ownDisplay->Start(error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        display = ownDisplay->Name();
    }
    std::printf("setfolio cold start to the first paint of the main window, %d runs, display %s%s\n"
                "(each run: the executable copied into a fresh temporary folder, setfolio-sim "
                "C-12 on its COM1; memory read %d ms after the paint)\n\n",
                runs, qPrintable(display), ownDisplay ? " (Xvfb started for this benchmark)" : "",
                IdleAfterPaintMs);
    std::printf("run  first paint        RSS   peak RSS\n");
    std::fflush(stdout);

    std::vector<Sample> samples;
    for (int run = 1; run <= runs; ++run) {
        const auto sample = Run(display, error);
        if (!sample) {
            std::fprintf(stderr, "run %d failed: %s\n", run, qPrintable(error));
            return 1;
        }
        samples.push_back(*sample);
        std::printf("%3d  %8.1f ms  %5.1f MiB  %5.1f MiB\n", run, sample->firstPaintMs,
                    sample->rssMiB, sample->peakMiB);
        std::fflush(stdout);
    }

    // The first start after a build finds the Qt libraries, plugins and fonts outside the disk
    // cache and pays for reading them; the runs after it show the warm start. It stays in the
    // summary, and is shown on its own as well.
    const Sample& first = samples.front();
    std::printf("\nfirst run (cold disk cache after a build): %.1f ms, RSS %.1f MiB, "
                "peak RSS %.1f MiB\n\n",
                first.firstPaintMs, first.rssMiB, first.peakMiB);

    const auto column = [&](double Sample::*field) {
        std::vector<double> values;
        for (const auto& sample : samples)
            values.push_back(sample.*field);
        return SpreadOf(values);
    };
    const std::string title =
        samples.size() == 1 ? "the one run" : "all " + std::to_string(samples.size()) + " runs";
    std::printf("%-18s %9s %9s %9s\n", title.c_str(), "median", "min", "max");
    const struct {
        const char* name;
        double Sample::*field;
    } rows[] = {{"first paint (ms)", &Sample::firstPaintMs},
                {"RSS (MiB)", &Sample::rssMiB},
                {"peak RSS (MiB)", &Sample::peakMiB}};
    for (const auto& row : rows) {
        const Spread spread = column(row.field);
        std::printf("%-18s %9.1f %9.1f %9.1f\n", row.name, spread.median, spread.min, spread.max);
    }
    return 0;
}
