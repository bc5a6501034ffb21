#pragma once

#include <iosfwd>

namespace setfolio::cli {

// Where a command reads its answers and writes its lines: the program's standard streams, or a
// test's strings.
struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Whether `err` is a terminal: progress and live lines are drawn only there.
    bool errIsTerminal = false;
    // Whether `in` is a terminal, where someone can be asked.
    bool inIsTerminal = false;
};

} // namespace setfolio::cli
