#include "CliOptions.h"

#include "backup/Inventory.h"
#include "link/IpAddressList.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>

using namespace setfolio;
using namespace setfolio::cli;

namespace {

// Each value at the edge of what its option takes, and just past it.
TEST(CliOptions, ValuesAreTakenUpToTheEdgesOfTheirRangesOnly) {
    const auto number = [](int (*read)(const std::string&)) {
        return [read](const std::string& text) { return std::to_string(read(text)); };
    };
    const std::map<std::string, std::function<std::string(const std::string&)>> readers = {
        {"model", [](const std::string& text) { return std::to_string(ReadModel(text)); }},
        {"library", number(ReadLibraryNumber)},
        {"baud", number(ReadBaudRate)},
        {"data-bits", number(ReadDataBits)},
        {"stop-bits", number(ReadStopBits)},
        {"parity",
         [](const std::string& text) { return ReadParity(text) == Parity::Odd ? "odd" : "?"; }},
        {"tcp",
         [](const std::string& text) {
             LinkSettings link;
             ReadTcpTarget(text, link);
             return link.host + " " + std::to_string(link.port);
         }},
    };
    const struct {
        std::string option;
        std::string text;
        std::string expected; // "" when refused
    } cases[] = {
        {"model", "C-12", "0"},
        {"model", "46", "46"},
        {"model", "47", ""},
        {"model", "c-12", ""},
        {"library", "0", "0"},
        {"library", "999", "999"},
        {"library", "1000", ""},
        {"library", "-1", ""},
        {"library", " 5", ""},
        {"library", "", ""},
        {"library", "+5", ""},
        {"baud", "38400", "38400"},
        {"baud", "9601", ""},
        {"data-bits", "7", "7"},
        {"data-bits", "6", ""},
        {"stop-bits", "2", "2"},
        {"stop-bits", "3", ""},
        {"parity", "odd", "odd"},
        {"parity", "Odd", ""},
        {"tcp", "10.0.0.5", "10.0.0.5 23"},
        {"tcp", "host:65535", "host 65535"},
        {"tcp", "host:65536", ""},
        {"tcp", "host:0", ""},
        {"tcp", "host:", ""},
        {"tcp", ":23", ""},
        {"tcp", "::1", "::1 23"},
        {"tcp", "[fe80::1]:4001", "fe80::1 4001"},
        {"tcp", "[fe80::1%eth0]", "fe80::1%eth0 23"},
        {"tcp", "[fe80::1]4001", ""},
        {"tcp", "plc 7", ""},
    };
    for (const auto& [option, text, expected] : cases) {
        const auto& read = readers.at(option);
        if (expected.empty())
            EXPECT_THROW(read(text), UsageError) << option << " '" << text << "'";
        else
            EXPECT_EQ(read(text), expected) << option << " '" << text << "'";
    }
}

// A usage error is one line that names what is wrong with which value.
TEST(CliOptions, ABadAddressIsNamedInOneLine) {
    const std::pair<std::string, std::string> cases[] = {
        {":23", "--tcp needs a host"},
        {"[fe80::1", "bad TCP host in '[fe80::1'"},
        {"host:99999", "bad TCP port in 'host:99999'"},
    };
    for (const auto& [text, message] : cases) {
        try {
            LinkSettings link;
            ReadTcpTarget(text, link);
            ADD_FAILURE() << "taken: " << text;
        } catch (const UsageError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

// An address or a model means the same on the command line and in an inventory.
TEST(CliOptions, TheInventoryReadsAddressesAndModelsAsTheCommandLineDoes) {
    const auto throughInventory = [](const std::string& model, const std::string& tcp) {
        const Inventory inventory =
            ParseInventory("[P]\nModel=" + model + "\nTcp=" + tcp + "\nLibraries=1\n");
        if (!inventory.problems.empty())
            return std::string();
        const auto& processor = inventory.processors.at(0);
        return std::to_string(processor.modelType) + " " + processor.host + " " +
               std::to_string(processor.port);
    };
    const auto throughOptions = [](const std::string& model, const std::string& tcp) {
        try {
            LinkSettings link;
            ReadTcpTarget(tcp, link);
            // The transport reads the host again, as an entry of the IP list, with the port.
            EXPECT_EQ(ParseHostEntry(link.host, link.port), (HostAndPort{link.host, link.port}));
            return std::to_string(ReadModel(model)) + " " + link.host + " " +
                   std::to_string(link.port);
        } catch (const UsageError&) {
            return std::string();
        }
    };
    for (const std::string tcp :
         {"10.0.0.5", "plc-7.plant:4001", "[fe80::1]:4001", "::1", "[fe80::1%eth0]", "h:0", "plc 7",
          ":23", "[10.0.0.1]:23", "999.1.1.1", "h:+23"}) {
        EXPECT_EQ(throughInventory("C-12", tcp), throughOptions("C-12", tcp)) << tcp;
    }
    for (const std::string model : {"C-12", "M-14", "46", "47", "c-12", "+1", "C-99"})
        EXPECT_EQ(throughInventory(model, "h"), throughOptions(model, "h")) << model;
    EXPECT_EQ(throughOptions("M-14", "[fe80::1]:4001"), "40 fe80::1 4001");
}

// Without line options the command line talks as the program does on its first start.
TEST(CliOptions, TheSerialLineDefaultsAreThePrograms) {
    const SerialSettings cli = LinkSettings{}.serialSettings;
    const SerialSettings program = DefaultSerialSettings();
    EXPECT_EQ(cli.stopBits, 2);
    EXPECT_EQ(std::tie(cli.baudRate, cli.parity, cli.dataBits, cli.stopBits),
              std::tie(program.baudRate, program.parity, program.dataBits, program.stopBits));
}

} // namespace
