#include "SimProcess.h"
#include "TempFolder.h"

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>

using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

long long MonotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The setfolio executable itself, copied into a temporary folder (its settings file and ports are
// looked for beside it), drawn off screen, with setfolio-sim on its COM1.
struct ProgramRun {
    TempFolder folder;
    std::unique_ptr<SimProcess> sim;
    QProcess program;
    QByteArray output;

    explicit ProgramRun(bool reportFirstPaint) {
        const QString copy = QString::fromStdString(folder.File("setfolio"));
        if (!QFile::copy(SETFOLIO_PROGRAM_PATH, copy))
            throw std::runtime_error("cannot copy the program");
        folder.Write("Setfolio.ini", "[ComPortSettings]\r\nComPort=0\r\n");
        sim = std::make_unique<SimProcess>(QStringList{
            "--model", "C-12", "--serial", QString::fromStdString(folder.File("ports/COM1")),
            "--log", QString::fromStdString(folder.File("sim.log"))});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", QString::fromStdString(folder.Path()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.File("config")));
        if (reportFirstPaint)
            environment.insert("SETFOLIO_REPORT_FIRST_PAINT", "1");
        else
            environment.remove("SETFOLIO_REPORT_FIRST_PAINT");
        program.setProcessEnvironment(environment);
        QObject::connect(&program, &QProcess::readyReadStandardOutput,
                         [this] { output += program.readAllStandardOutput(); });
        program.start(copy, {});
    }
    ~ProgramRun() { End(); }

    // Serves the event loop until `done` holds or 10 s have passed.
    bool WaitFor(const std::function<bool()>& done) {
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            if (done() || program.state() == QProcess::NotRunning)
                wait.quit();
        });
        poll.start(10);
        QTimer::singleShot(10000, &wait, &QEventLoop::quit);
        if (!done())
            wait.exec();
        return done();
    }
    // Ends it as a session's end does.
    bool End() {
        if (program.state() == QProcess::NotRunning)
            return true;
        program.terminate();
        if (program.waitForFinished(5000))
            return true;
        program.kill();
        program.waitForFinished(5000);
        return false;
    }
};

TEST(FirstPaintReport, PrintsOneLineWithTheMonotonicClockOnceTheWindowIsPainted) {
    const long long before = MonotonicNs();
    ProgramRun run(true);
    ASSERT_TRUE(run.WaitFor([&] { return run.output.contains('\n'); }))
        << "no report; the program wrote: " << run.program.readAllStandardError().toStdString();
    const long long after = MonotonicNs();

    const QList<QByteArray> words = run.output.trimmed().split(' ');
    ASSERT_EQ(words.size(), 2) << run.output.toStdString();
    EXPECT_EQ(words[0], "first-paint");
    bool number = false;
    const long long paintedAt = words[1].toLongLong(&number);
    ASSERT_TRUE(number) << run.output.toStdString();
    // The same clock as this process's: the benchmark subtracts its own reading from it.
    EXPECT_GT(paintedAt, before);
    EXPECT_LT(paintedAt, after);

    EXPECT_TRUE(run.End()) << "the program did not end on SIGTERM";
    run.output += run.program.readAllStandardOutput();
    EXPECT_EQ(run.output.count('\n'), 1) << run.output.toStdString();
}

TEST(FirstPaintReport, WithoutTheVariableNothingIsPrinted) {
    ProgramRun run(false);
    // The start-up query comes a second after the window was shown: long after its first paint.
    ASSERT_TRUE(run.WaitFor([&] {
        return run.folder.Read("sim.log").find(" received ") != std::string::npos;
    })) << "the program did not query the simulator";
    EXPECT_EQ(run.program.state(), QProcess::Running);
    EXPECT_TRUE(run.End());
    run.output += run.program.readAllStandardOutput();
    EXPECT_EQ(run.output.toStdString(), "");
}

} // namespace
