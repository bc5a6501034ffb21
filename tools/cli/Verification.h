#pragma once

#include "ProcessorOptions.h"

#include <functional>
#include <string>

namespace setfolio::cli {

class Processor;

// What a library should hold: the text of a library file, or nothing when it cannot be read.
using Expected = std::function<std::optional<std::string>(int library)>;

// Reads libraries back from the processor and compares each with what it should hold, printing
// the differences as `diff` does (or as JSON). `sentOnly` compares only the keys both sides
// have, as after an upload, where the processor's other rows were not sent. The exit status:
// 0 the same, 1 different or not read, 2 an expected file cannot be read.
int VerifyLibraries(const Processor& processor, const TransferOptions& libraries,
                    const Expected& expected, bool sentOnly, bool json);

} // namespace setfolio::cli
