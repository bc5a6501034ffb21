#pragma once

#include "ProcessorOptions.h"

#include <functional>
#include <optional>
#include <string>

namespace setfolio::cli {

class Processor;

// What a library should hold: the file it is compared with, and that file's text, or nothing
// when it cannot be read (the reason has been printed).
struct ExpectedLibrary {
    std::string file;
    std::optional<std::string> content;
};
using Expected = std::function<ExpectedLibrary(int library)>;

// How a comparison of the processor's libraries with their files ended.
enum class Verified {
    Same,
    Different,
    NotRead,       // a library could not be read from the processor (its failure was printed)
    FileUnreadable // an expected file could not be read
};

// Reads libraries back from the processor and compares each with what it should hold, printing
// a line for each library that matches and, for one that differs, the differences as `diff` does
// with each side named (file, processor), or JSON. `sentOnly` compares only the keys both sides
// have, as after an upload, where the processor's other rows were not sent.
Verified VerifyLibraries(const Processor& processor, const TransferOptions& libraries,
                         const Expected& expected, bool sentOnly, bool json);

} // namespace setfolio::cli
