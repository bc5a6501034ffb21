#pragma once

#include "core/ModelCatalogue.h"
#include "link/ReplyStatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// What a reply line is read against: the family's grammar and, for bench and menu replies, the
// step the exchange is in.
struct ReplyContext {
    ModelFamily family = ModelFamily::NoFamily;
    ExchangeStep step = ExchangeStep::StepNone;
    // Coded family: the model answers an accepted command with N14.
    bool acceptsWithN14 = false;
    // Bench dumps: the line is the first of its section (it announces the section's size).
    bool firstDumpLine = false;
};

// What one reply line means. Only what the line decides is set; everything else stays as the
// exchange's earlier lines left it (a menu query's acknowledgement, then its value line).
struct ParsedReply {
    // Nothing: the exchange goes on waiting for its next line.
    std::optional<ReplyStatus> status;
    // What the next line means, when this line changes it.
    std::optional<ExchangeStep> nextStep;
    std::optional<std::int32_t> currentLibrary;
    std::optional<std::string> mnemonicValue;
    std::optional<std::string> numericValue;
    std::optional<std::string> headerValue;
    std::optional<std::string> menuValue;
    // The reply time-out goes back to its usual length.
    bool defaultTimeOut = false;

    // Bench dumps.
    std::optional<std::int32_t> dumpBytes; // the size a section's first line announces
    bool dumpProgress = false;             // the line counts as one more line of the dump
    bool dumpEnded = false;                // the closing acknowledgement arrived
    bool storeDumpLine = false;            // the line is part of the dump and is kept
};

// The three parsers: a complete reply line (without its line end) of each family.
ParsedReply ParseCodedReply(std::string_view reply, bool acceptsWithN14);
ParsedReply ParseBenchReply(std::string_view reply, ExchangeStep step, bool firstDumpLine);
ParsedReply ParseMenuReply(std::string_view reply, ExchangeStep step);
// The parser of the context's family; a model without a family leaves everything as it is.
ParsedReply ParseReply(const ReplyContext& context, std::string_view reply);

// A dump's progress moves one step for about this many bytes of the size its first line gives.
inline constexpr std::int32_t DumpBytesPerProgressStep = 82;

} // namespace setfolio
