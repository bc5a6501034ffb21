#include "FakeDialogs.h"
#include "FakePrompts.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "app/Application.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"

#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace setfolio;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

// The program's logic on Qt's event loop and transports, talking to setfolio-sim; only the
// windows are replaced.
struct Program {
    TempFolder folder;
    QtEventLoop loop;
    QtSerialPort port{folder.Path()};
    QtTcpClient tcp{loop};
    fake::FakePrompts prompts;
    fake::FakeDialogs dialogs;
    std::unique_ptr<Application> app;

    void Build(std::uint16_t tcpPort = ProcessorTcpPort) {
        app = std::make_unique<Application>(
            Platform{loop, port, tcp, prompts, dialogs, folder.Path(), tcpPort});
    }
    // English, the given model, and COM1 (or the first address of the IP list over TCP).
    void Store(const std::string& model, bool ethernet = false) {
        const Settings settings(folder.Path());
        settings.Write(keys::Language, 0);
        std::int32_t type = -1;
        for (const auto& entry : Catalogue()) {
            if (entry.entry == model)
                type = entry.modelType;
        }
        settings.Write(keys::ModelNo, type);
        settings.Write(keys::ComPort, 0);
        if (ethernet) {
            settings.Write(keys::ConnectionType, 1);
            settings.Write(keys::IpAddressIndex, 0);
            IpAddressListFile(folder.Path()).Write({"127.0.0.1 - simulator"});
        }
    }
    QStringList SerialLink() const {
        return {"--serial", QString::fromStdString(folder.File("ports/COM1"))};
    }
    // Creates the main window and waits until the start-up sequence has reported.
    void Start() {
        app->mainForm.FormCreate();
        WaitForLines(2);
    }
    void WaitForLines(std::size_t count) {
        auto guard = loop.CreateTimer();
        bool expired = false;
        guard->SetInterval(20000);
        guard->SetOnExpiry([&] { expired = true; });
        guard->Start();
        loop.WaitUntil([&] { return expired || Lines().size() >= count; });
        ASSERT_FALSE(expired) << "no report from the program";
    }
    const std::vector<std::string>& Lines() const { return app->messageLog.Lines(); }
};

std::int32_t TypeOf(const std::string& entry) {
    for (const auto& candidate : Catalogue()) {
        if (candidate.entry == entry)
            return candidate.modelType;
    }
    return -1;
}

struct FamilyCase {
    const char* model;
    bool ethernet;
};

std::string CaseName(const ::testing::TestParamInfo<FamilyCase>& param) {
    std::string name = std::string(param.param.model) + (param.param.ethernet ? "_tcp" : "_serial");
    name.erase(name.find('-'), 1);
    return name;
}

class AgainstSimulator : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(AgainstSimulator, StartUpModelChangeAndChangeOfLibrary) {
    const auto [model, ethernet] = GetParam();
    Program program;
    program.Store(model, ethernet);
    QStringList args{"--model", model, "--active", "21"};
    if (ethernet)
        args << "--tcp"
             << "0";
    else
        args << program.SerialLink();
    SimProcess sim(args);
    program.Build(sim.TcpPort());
    program.Start();
    EXPECT_EQ(program.Lines(), (std::vector<std::string>{"Attempting connection, please wait...",
                                                         "Current library is 21."}));

    // A model of another family speaks a protocol this processor does not understand.
    auto& mainForm = program.app->mainForm;
    mainForm.ModelComboBoxChange(std::string(model) == "C-12" ? 33 : 11);
    EXPECT_EQ(program.Lines().back().substr(0, 22), "Current library is ???");
    mainForm.ModelComboBoxChange(ListLineOf(TypeOf(model)));
    EXPECT_EQ(program.Lines().back(), "Current library is 21.");

    program.dialogs.onChangeLibrary = [&] {
        program.app->changeLibForm.LibrarySpinEdit.value = 30;
        program.app->changeLibForm.OKBtnClick();
    };
    mainForm.LibraryBtnClick();
    EXPECT_EQ(program.Lines().back(), "Current library is 30.");
    mainForm.LibraryBtnClick(); // opens at 30: the processor really switched
    EXPECT_EQ(program.app->changeLibForm.LibraryAtOpen, 30);
}

INSTANTIATE_TEST_SUITE_P(Families, AgainstSimulator,
                         ::testing::Values(FamilyCase{"C-12", false}, FamilyCase{"M-01", false},
                                           FamilyCase{"B-01", false}, FamilyCase{"C-12", true},
                                           FamilyCase{"M-01", true}, FamilyCase{"B-01", true}),
                         CaseName);

TEST(AgainstSimulator, AddressListEntryNamesThePortOfASimulatorOverTcp) {
    Program program;
    program.Store("C-12", true);
    SimProcess sim({"--model", "C-12", "--active", "12", "--tcp", "0"});
    const std::string entry = "127.0.0.1:" + std::to_string(sim.TcpPort()) + " - Sim";
    IpAddressListFile(program.folder.Path()).Write({entry});
    program.Build(); // port 23 for entries without one
    program.Start();
    EXPECT_EQ(program.Lines(), (std::vector<std::string>{"Attempting connection, please wait...",
                                                         "Current library is 12."}));
    EXPECT_EQ(program.app->transport.TcpPort(), sim.TcpPort());
}

// Writes fault rules for the simulator into the program folder.
QString FaultsFile(const TempFolder& folder, const std::string& rules) {
    folder.Write("faults.txt", rules);
    return QString::fromStdString(folder.File("faults.txt"));
}

TEST(AgainstSimulator, SlowSwitchIsWaitedForBeforeTheLine) {
    Program program;
    program.Store("C-19"); // switches libraries slowly
    SimProcess sim(QStringList{"--model", "C-19", "--active", "2", "--faults",
                               FaultsFile(program.folder, "slow-switch 3")}
                   << program.SerialLink());
    program.Build();
    program.Start();
    program.dialogs.onChangeLibrary = [&] {
        program.app->changeLibForm.LibrarySpinEdit.value = 9;
        program.app->changeLibForm.OKBtnClick();
    };
    const auto start = std::chrono::steady_clock::now();
    program.app->mainForm.LibraryBtnClick();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(program.Lines().back(), "Current library is 9.");
    EXPECT_EQ(program.app->exchange.replyStatus(), ReplyStatus::Ok);
}

TEST(AgainstSimulator, RefusalsGiveTheirFailureLines) {
    struct Case {
        const char* model;
        const char* rule;
        const char* line;
    };
    const Case cases[] = {
        {"C-12", "refuse 700 N12", "Current library is ??? - processor is in RUN mode!"},
        {"M-01", "refuse 3.1\\x20 4", "Current library is ??? - invalid action!"},
        {"B-01", "refuse SYST.LIBRARY.SELECT: NAK", "Current library is ??? - command failed!"},
    };
    for (const auto& c : cases) {
        Program program;
        program.Store(c.model);
        std::string rule = c.rule;
        // The menu rule must not catch the library query "3.1 ?", only the select "3.1 N".
        if (std::string(c.model) == "M-01")
            rule = "refuse 3.1 4";
        SimProcess sim(QStringList{"--model", c.model, "--active", "1", "--faults",
                                   FaultsFile(program.folder, rule)}
                       << program.SerialLink());
        program.Build();
        if (std::string(c.model) == "M-01") {
            // Every "3.1" command is refused, the query too: the start-up reports it.
            program.Start();
            EXPECT_EQ(program.Lines().back(), c.line);
            continue;
        }
        program.Start();
        program.dialogs.onChangeLibrary = [&] {
            program.app->changeLibForm.LibrarySpinEdit.value = 5;
            program.app->changeLibForm.OKBtnClick();
        };
        program.app->mainForm.LibraryBtnClick();
        EXPECT_EQ(program.Lines().back(), c.line) << c.model;
    }
}

TEST(AgainstSimulator, ProcessorGoingAwayIsReportedNotFatal) {
    {
        Program program;
        program.Store("C-12");
        auto sim = std::make_unique<SimProcess>(QStringList{"--model", "C-12", "--active", "4"}
                                                << program.SerialLink());
        program.Build();
        program.Start();
        sim.reset(); // the line goes dead and its device disappears
        program.app->mainForm.LibraryBtnClick();
        EXPECT_EQ(program.Lines().back(), "Current library is ??? - no connection!");
        // Once the port has noticed, it cannot be opened again: that is reported as well.
        program.app->mainForm.LibraryBtnClick();
        const auto& last = program.Lines().back();
        EXPECT_TRUE(last == "Current library is ??? - no connection!" ||
                    last == "Please select a valid COM port!")
            << last;
    }
    {
        Program program;
        program.Store("M-01", true);
        auto sim = std::make_unique<SimProcess>(
            QStringList{"--model", "M-01", "--active", "4", "--tcp", "0"});
        program.Build(sim->TcpPort());
        program.Start();
        sim.reset(); // the connection is closed by the far end
        EXPECT_THROW(program.app->mainForm.LibraryBtnClick(), TcpError);
        EXPECT_THROW(program.app->mainForm.LibraryBtnClick(), TcpError);
        EXPECT_EQ(program.Lines().back(), "Current library is 4.");
    }
}

TEST(AgainstSimulator, ProcessorRestartedOnItsAddressIsReachedByTheNextExchange) {
    Program program;
    program.Store("C-12", true);
    auto sim =
        std::make_unique<SimProcess>(QStringList{"--model", "C-12", "--active", "4", "--tcp", "0"});
    const std::uint16_t port = sim->TcpPort();
    program.Build(port);
    program.Start();
    ASSERT_EQ(program.Lines().back(), "Current library is 4.");

    sim.reset(); // a power cut: the connection is closed by the far end
    EXPECT_THROW(program.app->exchange.QueryLibrary(), TcpError);
    sim = std::make_unique<SimProcess>(
        QStringList{"--model", "C-12", "--active", "6", "--tcp", QString::number(port)});
    const Reply reply = program.app->exchange.QueryLibrary();
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 6);
}

} // namespace
