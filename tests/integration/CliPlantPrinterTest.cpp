// What backup and restore print of the plant runner's events, on a terminal and elsewhere.
#include "PlantCommand.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace setfolio;
using setfolio::cli::PlantPrinter;

namespace {

PlantEvent Event(PlantEvent::Kind kind, std::size_t processor, std::size_t index = 0,
                 ReplyStatus status = ReplyStatus::Ok) {
    PlantEvent event;
    event.kind = kind;
    event.processor = processor;
    event.name = "Line " + std::to_string(processor + 1);
    event.libraryIndex = index;
    event.libraryCount = 2;
    event.library.library = static_cast<int>(index) + 7;
    event.library.status = status;
    return event;
}

// Two processors side by side: the first reads both libraries, the second fails its first.
std::string Printed(bool terminal, std::string& err) {
    std::istringstream in;
    std::ostringstream out, errors;
    const cli::Streams io{in, out, errors, terminal, false};
    PlantPrinter printer(
        io,
        [](const std::string& name, const LibraryBackup& library, bool onTerminal) -> std::string {
            if (onTerminal && library.status == ReplyStatus::Ok)
                return {};
            return name + ": library " + std::to_string(library.library) + " " +
                   std::string(NameOf(library.status));
        });
    using Kind = PlantEvent::Kind;
    for (const PlantEvent& event :
         {Event(Kind::ProcessorStarted, 0), Event(Kind::ProcessorStarted, 1),
          Event(Kind::LibraryFinished, 0, 0),
          Event(Kind::LibraryFinished, 1, 0, ReplyStatus::NoConnection),
          Event(Kind::LibraryFinished, 0, 1), Event(Kind::ProcessorFinished, 0),
          Event(Kind::ProcessorFinished, 1), Event(Kind::RunFinished, 0)})
        printer.Show(event);
    printer.Clear();
    err = errors.str();
    return out.str();
}

// What stays on a terminal that was sent `text`: "ESC[1A ESC[2K" takes the line above away,
// "ESC[2K" clears the line at hand, and every other line stays.
std::vector<std::string> Screen(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, 8, "\x1b[1A\x1b[2K") == 0) {
            if (!lines.empty())
                lines.pop_back();
            at += 8;
        } else if (text.compare(at, 4, "\x1b[2K") == 0) {
            line.clear();
            at += 4;
        } else if (text[at] == '\n') {
            lines.push_back(line);
            line.clear();
            ++at;
        } else {
            line += text[at++];
        }
    }
    return lines;
}

TEST(PlantPrinter, LiveLinesOnATerminalGoBeforeEveryLineAndAtTheEnd) {
    std::string err;
    EXPECT_EQ(Printed(true, err), "") << "on a terminal every line goes with the live lines";
    for (const char* live :
         {"Line 1: library 1 of 2\n", "Line 2: library 1 of 2\n", "Line 1: library 2 of 2\n"})
        EXPECT_NE(err.find(live), std::string::npos) << live << " was never drawn";
    EXPECT_EQ(Screen(err), std::vector<std::string>{"Line 2: library 7 NoConnection"})
        << "a library read well is told by the live lines, which are gone at the end";
}

TEST(PlantPrinter, ElsewhereEachLibraryIsALineOfItsOwnAndNothingIsDrawn) {
    std::string err;
    EXPECT_EQ(Printed(false, err),
              "Line 1: library 7 Ok\nLine 2: library 7 NoConnection\nLine 1: library 8 Ok\n");
    EXPECT_EQ(err, "");
}

} // namespace
