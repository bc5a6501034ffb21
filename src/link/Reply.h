#pragma once

#include "link/ReplyStatus.h"

#include <cstdint>
#include <optional>
#include <string>

namespace setfolio {

// What one exchange with the processor brought back. A value is set only when a line of this
// exchange carried it: a reply that is Ok without the value its command asked for answered some
// other question.
struct Reply {
    Reply() = default;
    // A reply of nothing but its status.
    explicit Reply(ReplyStatus replyStatus) : status(replyStatus) {}

    ReplyStatus status = ReplyStatus::Pending;
    // The processor's active library, as a library query's answer names it.
    std::optional<std::int32_t> library;
    // The text of a coded mnemonic, numeric or header reply, or of a menu value line, exactly as
    // the processor gave it.
    std::optional<std::string> mnemonic;
    std::optional<std::string> numeric;
    std::optional<std::string> header;
    std::optional<std::string> menu;
    // A bench dump: how many of its lines went to the capture writer.
    int dumpLines = 0;
    // The last line of this exchange as it came (without its line end); empty when none came.
    std::string line;

    bool Ok() const { return status == ReplyStatus::Ok; }
};

} // namespace setfolio
