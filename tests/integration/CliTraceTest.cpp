#include "CliInProcess.h"
#include "SimProcess.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

struct Event {
    std::string kind;
    std::string text; // the escaped bytes, without the time since the command
    bool timed = false;
};

// The events of a trace or of the simulator's log, header lines left out.
std::vector<Event> Events(const std::string& lines) {
    std::vector<Event> events;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto first = line.find(' ');
        const auto second = line.find(' ', first + 1);
        Event event;
        event.kind =
            line.substr(first + 1, second == std::string::npos ? second : second - first - 1);
        if (second != std::string::npos)
            event.text = line.substr(second + 1);
        const auto since = event.text.rfind(" +");
        if (since != std::string::npos && event.text.ends_with("ms")) {
            event.timed = true;
            event.text.resize(since);
        }
        events.push_back(event);
    }
    return events;
}

std::string Without(std::string text, const std::string& what) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what))
        text.erase(at, what.size());
    return text;
}

class CliTrace : public ::testing::TestWithParam<bool> {};

// Both sides of the link tell the same story: every command the simulator received was sent, in
// order, and each was answered by the reply it sent.
TEST_P(CliTrace, TraceOfADownloadHoldsEveryCommandTheProcessorReceivedWithItsReply) {
    const bool overTcp = GetParam();
    TempFolder folder;
    SimProcess sim(QStringList{"--model", "C-12", "--active", "7", "--log",
                               QString::fromStdString(folder.File("sim.log"))} +
                   SimProcess::LinkArgs(overTcp, folder.File("COM1")));
    const auto run =
        RunCliInProcess(QStringList{"download", "--model", "C-12", "--library", "5", "--file",
                                    QString::fromStdString(folder.File("Line.lvf")), "--trace",
                                    QString::fromStdString(folder.File("link.trace"))} +
                        sim.CliLink());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string traced = folder.Read("link.trace");
    ASSERT_TRUE(traced.starts_with("# trace begun ")) << traced.substr(0, 80);
    const auto host = Events(traced);
    const auto processor = Events(folder.Read("sim.log"));
    ASSERT_GE(host.size(), 4u);
    EXPECT_EQ(host.front().kind, "open");
    EXPECT_NE(host.front().text.find(overTcp ? "127.0.0.1:" : " baud 9600 parity none data 8 stop"),
              std::string::npos)
        << host.front().text;
    EXPECT_EQ(host.back().kind, "close");

    std::string sent, received, commands, replies;
    int answered = 0, asked = 0;
    for (std::size_t i = 0; i < host.size(); ++i) {
        if (host[i].kind == "sent") {
            ++asked;
            sent += host[i].text;
            // Each command is followed by its reply, timed from the command.
            ASSERT_LT(i + 1, host.size());
            EXPECT_EQ(host[i + 1].kind, "received") << host[i].text;
            EXPECT_TRUE(host[i + 1].timed);
        } else if (host[i].kind == "received") {
            ++answered;
            received += host[i].text;
        }
    }
    for (const auto& event : processor) {
        if (event.kind == "received")
            commands += event.text; // a serial command may come in pieces
        else if (event.kind == "sent")
            replies += event.text;
    }
    EXPECT_GT(asked, 10);
    EXPECT_EQ(answered, asked);
    EXPECT_EQ(sent, commands);
    // The program's lines are the replies without their line ends.
    EXPECT_EQ(received, Without(Without(replies, "\\r"), "\\n"));
}

INSTANTIATE_TEST_SUITE_P(Links, CliTrace, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Tcp" : "Serial"; });

} // namespace
