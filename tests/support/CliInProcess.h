#pragma once

#include "CliProcess.h"
#include "Command.h"
#include "QtMain.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <thread>

namespace setfolio::testing {

// Ends the test program when a run takes longer than `limit`: a command that never returns
// would otherwise hold the whole suite.
class RunWatchdog {
public:
    RunWatchdog(std::chrono::milliseconds limit, std::string what)
        : m_thread([this, limit, what = std::move(what)] {
              std::unique_lock lock(m_mutex);
              if (!m_finished.wait_for(lock, limit, [this] { return m_done; })) {
                  std::fprintf(stderr, "%s did not finish\n", what.c_str());
                  std::_Exit(EXIT_FAILURE);
              }
          }) {}
    ~RunWatchdog() {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_finished.notify_one();
        m_thread.join();
    }
    RunWatchdog(const RunWatchdog&) = delete;
    RunWatchdog& operator=(const RunWatchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_thread;
};

// What an in-process run of setfolio-cli is given besides its words.
struct CliInput {
    std::string typed = {};     // what the user types on standard input
    bool errIsTerminal = false; // whether standard error counts as a terminal
    bool inIsTerminal = false;  // whether standard input counts as a terminal
    std::chrono::milliseconds limit = std::chrono::minutes(2);
};

// Runs a setfolio-cli command line in this process, as the program would after its name, with
// strings for its standard streams. For the tests where no process boundary is under test; the
// integration tests' application object must exist. The event loop keeps serving any peer of the
// test while the command waits.
inline CliRun RunCliInProcess(const QStringList& args, const CliInput& input = {}) {
    std::istringstream in(input.typed);
    std::ostringstream out;
    std::ostringstream err;
    const std::string what = "setfolio-cli " + args.join(' ').toStdString();
    // The program itself has nothing to catch an error that escapes an event handler.
    auto& escaped = GuardedCoreApplication::errors;
    const std::size_t escapedBefore = escaped.size();
    int status = -1;
    {
        const RunWatchdog watchdog(input.limit, what);
        status = cli::RunCommandLine(args, {in, out, err, input.errIsTerminal, input.inIsTerminal});
    }
    const bool crashed = escaped.size() > escapedBefore;
    if (crashed)
        ADD_FAILURE() << what << ": an error escaped an event handler: " << escaped.back();
    return {crashed ? -1 : status, crashed, out.str(), err.str()};
}

} // namespace setfolio::testing
