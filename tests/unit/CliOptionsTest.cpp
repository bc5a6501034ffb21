#include "CliOptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

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
        {"library", "0", "0"},
        {"library", "999", "999"},
        {"library", "1000", ""},
        {"library", "-1", ""},
        {"library", " 5", ""},
        {"library", "", ""},
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
    };
    for (const auto& [option, text, expected] : cases) {
        const auto& read = readers.at(option);
        if (expected.empty())
            EXPECT_THROW(read(text), UsageError) << option << " '" << text << "'";
        else
            EXPECT_EQ(read(text), expected) << option << " '" << text << "'";
    }
}

} // namespace
