#include "CliInProcess.h"
#include "CliProcess.h"
#include "PtyPair.h"
#include "ScriptedPeer.h"
#include "TempFolder.h"
#include "core/ModelCatalogue.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using setfolio::testing::CliRun;
using setfolio::testing::PtyPair;
using setfolio::testing::RunCli;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::RunProgram;
using setfolio::testing::ScriptedPeer;
using setfolio::testing::TempFolder;

namespace {

// Where a case runs: through the program itself, or in this process when the program's own
// process is not what the case is about.
const char* const InProcess = nullptr;

CliRun RunWith(const char* program, const QStringList& args) {
    return program ? RunProgram(program, args) : RunCliInProcess(args);
}

// A processor of each family with an active library that a select changes.
struct Processor {
    std::string model;
    bool overTcp = false;
};

ScriptedPeer::Script ProcessorScript(const std::string& model, bool tcp, int& library) {
    const std::string lineEnd = tcp ? "\r\n" : "\r";
    if (model == "C-12") {
        return [&library, lineEnd](const std::string& command) -> std::string {
            if (command == "701\r")
                return "701 " + std::to_string(library) + lineEnd;
            if (command.starts_with("700 ")) {
                library = std::stoi(command.substr(4));
                return "700 Y  " + lineEnd;
            }
            return "";
        };
    }
    if (model == "B-01") {
        return [&library](const std::string& command) -> std::string {
            if (command == "SYST.LIBRARY.SELECT?\r")
                return std::to_string(library) + "\x06\r\n";
            if (command.starts_with("SYST.LIBRARY.SELECT:")) {
                library = std::stoi(command.substr(20));
                return "\x06\r\n";
            }
            return "";
        };
    }
    return [&library](const std::string& command) -> std::string {
        if (command == "3.1 ?\r")
            return "0\r\n" + std::to_string(library) + "\r\n";
        if (command.starts_with("3.1 ")) {
            library = std::stoi(command.substr(4));
            return "0\r\n";
        }
        return "";
    };
}

std::string ProcessorName(const ::testing::TestParamInfo<Processor>& param) {
    std::string name = param.param.model + (param.param.overTcp ? "_tcp" : "_serial");
    name.erase(name.find('-'), 1);
    return name;
}

class CliAgainstAProcessor : public ::testing::TestWithParam<Processor> {};

TEST_P(CliAgainstAProcessor, QueriesAndSelectsTheLibrary) {
    const auto& [model, overTcp] = GetParam();
    int library = 12;
    ScriptedPeer peer(ProcessorScript(model, overTcp, library));
    PtyPair pty;
    QStringList link;
    if (overTcp) {
        link = {"--tcp", QString("127.0.0.1:%1").arg(peer.Listen())};
    } else {
        peer.Serve(pty);
        link = {"--serial", QString::fromStdString(pty.SlavePath()), "--baud", "19200"};
    }
    const QString modelArg = QString::fromStdString(model);

    auto run = RunCliInProcess(QStringList{"library", "--model", modelArg} + link);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Current library is 12.\n");

    run = RunCliInProcess(QStringList{"select", "7", "--model", modelArg} + link);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Current library is 7.\n");
    EXPECT_EQ(library, 7);
}

INSTANTIATE_TEST_SUITE_P(Families, CliAgainstAProcessor,
                         ::testing::Values(Processor{"C-12", false}, Processor{"C-12", true},
                                           Processor{"M-01", false}, Processor{"M-01", true},
                                           Processor{"B-01", false}, Processor{"B-01", true}),
                         ProcessorName);

TEST(Cli, SilentProcessorGivesTheFailureLineAndExitStatus1) {
    ScriptedPeer peer([](const std::string&) { return std::string(); });
    PtyPair pty;
    peer.Serve(pty);
    const auto run = RunCliInProcess(
        {"library", "--model", "0", "--serial", QString::fromStdString(pty.SlavePath())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Current library is ??? - no connection!\n");
    EXPECT_EQ(peer.Received(), "701\r");
}

TEST(Cli, UsageErrorsExitWith2AndOneLine) {
    const QStringList bad[] = {
        {},
        {"library", "--model", "C-99", "--tcp", "127.0.0.1"},
        {"library", "--tcp", "127.0.0.1"},
        {"library", "--model", "C-12"},
        {"select", "x", "--model", "C-12", "--tcp", "127.0.0.1"},
        {"library", "--model", "C-12", "--serial", "/dev/null", "--parity", "mark"},
        {"library", "--model", "C-12", "--tcp", "127.0.0.1:99999"},
    };
    for (const auto& args : bad) {
        const auto run = RunCliInProcess(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.starts_with("setfolio-cli: ")) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

// Both programs answer --help and --version at once, on standard output; so does a command.
TEST(Cli, HelpAndVersionExitWith0) {
    const struct {
        const char* program;
        QStringList args;
        std::vector<std::string> shown;
    } cases[] = {
        {SETFOLIO_CLI_PATH,
         {"--help"},
         {"usage: setfolio-cli COMMAND", "\n  library ", "\n  select ", "\n  download ",
          "\n  upload ", "\n  tables "}},
        {InProcess,
         {"download", "--help"},
         {"usage: setfolio-cli download --model MODEL LINK --library N", "--tcp <HOST[:PORT]>"}},
        {SETFOLIO_CLI_PATH, {"--version"}, {"setfolio-cli " SETFOLIO_VERSION "\n"}},
        {SETFOLIO_SIM_PATH, {"--help"}, {"usage: setfolio-sim ", "--faults <FILE>"}},
        {SETFOLIO_SIM_PATH, {"--version"}, {"setfolio-sim " SETFOLIO_VERSION "\n"}},
    };
    for (const auto& [program, args, shown] : cases) {
        const auto run = RunWith(program, args);
        const std::string what =
            std::string(program ? program : "setfolio-cli") + " " + args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 0) << what << ": " << run.err;
        EXPECT_EQ(run.err, "") << what;
        for (const auto& text : shown)
            EXPECT_NE(run.out.find(text), std::string::npos) << what << ": " << run.out;
    }
}

TEST(Cli, UsageErrorsNameTheProblemAndPointToHelp) {
    const QStringList link{"--model", "C-12", "--tcp", "127.0.0.1"};
    const struct {
        const char* program;
        QStringList args;
        std::string message;
    } cases[] = {
        {SETFOLIO_CLI_PATH, {"--frob"}, "setfolio-cli: unknown option '--frob'"},
        {InProcess, {"frob"}, "setfolio-cli: unknown command 'frob'"},
        {InProcess, QStringList{"library", "-frob"} + link, "setfolio-cli: unknown option '-frob'"},
        {InProcess, {"download", "--model"}, "setfolio-cli: --model needs a value"},
        // A block that ends before it starts would do nothing at all.
        {InProcess,
         QStringList{"download", "--library", "5", "--to", "3", "--file", "L.lvf"} + link,
         "setfolio-cli: --to 3 is below --library 5"},
        {SETFOLIO_SIM_PATH, {"--frob", "--tcp", "0"}, "setfolio-sim: unknown option '--frob'"},
    };
    for (const auto& [program, args, message] : cases) {
        const auto run = RunWith(program, args);
        const std::string what =
            std::string(program ? program : "setfolio-cli") + " " + args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 2) << what;
        EXPECT_TRUE(run.err.starts_with(message + "\nTry '")) << what << ": " << run.err;
        EXPECT_NE(run.err.find(" --help' "), std::string::npos) << what << ": " << run.err;
        EXPECT_EQ(run.out, "") << what;
    }
}

// Through the program itself: its exit status and its two streams are the command's.
TEST(Cli, MissingDeviceIsReportedAsAPortError) {
    const auto run = RunCli({"library", "--model", "C-12", "--serial", "/dev/no-such-device"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "Please select a valid COM port!\n");
}

TEST(Cli, ModelsListsEveryEntryAndAnUnknownModelNamesTheNearest) {
    const auto listed = RunCliInProcess({"models"});
    EXPECT_EQ(listed.exitCode, 0);
    std::istringstream lines(listed.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "MODEL  TYPE  FAMILY");
    std::size_t count = 0;
    for (const auto& entry : setfolio::Catalogue()) {
        ASSERT_TRUE(std::getline(lines, line));
        std::istringstream words(line);
        std::string name, type, family;
        words >> name >> type >> family;
        EXPECT_EQ(name, entry.entry);
        EXPECT_EQ(setfolio::ModelNamed(type), entry.modelType) << line;
        EXPECT_EQ(family, setfolio::NameOf(entry.family)) << line;
        ++count;
    }
    EXPECT_EQ(count, 47u);

    const struct {
        const char* model;
        std::string message;
    } unknown[] = {
        {"C12", "unknown model 'C12'; did you mean C-12? "},
        {"c-12", "unknown model 'c-12'; did you mean C-12? "},
        {"Z-99", "unknown model 'Z-99'; did you mean C-09, C-19, C-29 or M-09? "},
        {"47", "unknown model type 47: model types are 0 to 46 "},
    };
    for (const auto& [model, message] : unknown) {
        const auto run = RunCliInProcess({"library", "--model", model, "--tcp", "127.0.0.1"});
        EXPECT_EQ(run.exitCode, 2) << model;
        EXPECT_TRUE(run.err.starts_with("setfolio-cli: " + message)) << run.err;
    }
}

// A connection that is refused or never answered names where it was trying to go, once.
TEST(Cli, AFailedConnectionNamesTheHostAndPort) {
    const auto refusing = std::to_string(setfolio::testing::ClosedTcpPort());
    // A listener whose queue is full takes no more connections: the attempt times out.
    const int full = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(full, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(full, 0), 0);
    ::getsockname(full, reinterpret_cast<sockaddr*>(&address), &length);
    const auto silent = std::to_string(ntohs(address.sin_port));
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
        fillers.push_back(filler);
    }
    const struct {
        std::string port;
        std::string message;
    } cases[] = {
        {refusing, "setfolio-cli: cannot connect to 127.0.0.1 port " + refusing + ": "},
        {silent, "setfolio-cli: Unable to connect to 127.0.0.1 port " + silent + ".\n"},
    };
    for (const auto& [port, message] : cases) {
        const auto run = RunCliInProcess(
            {"library", "--model", "C-12", "--tcp", QString::fromStdString("127.0.0.1:" + port)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.starts_with(message)) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    for (const int filler : fillers)
        ::close(filler);
    ::close(full);
}

TEST(Cli, ASerialPathThatIsNoDeviceIsNamedWithWhatItIs) {
    const TempFolder folder;
    folder.Write("notes.txt", "x");
    const std::pair<std::string, std::string> cases[] = {
        {folder.File("notes.txt"), folder.File("notes.txt") + " is a file, not a serial device."},
        {folder.Path(), folder.Path() + " is a folder, not a serial device."},
        {folder.File("nothing"),
         "The serial device " + folder.File("nothing") + " does not exist."},
    };
    for (const auto& [path, message] : cases) {
        const auto run = RunCliInProcess(
            {"library", "--model", "C-12", "--serial", QString::fromStdString(path)});
        EXPECT_EQ(run.exitCode, 1) << path;
        EXPECT_EQ(run.err, "setfolio-cli: " + message + "\n") << path;
        EXPECT_EQ(run.out, "Please select a valid COM port!\n") << path;
    }
}

} // namespace
