#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {
struct SiteVocabulary;
}

namespace setfolio::sim {

// What can go wrong, on purpose. Each rule names the commands it applies to by their start.
struct FaultRules {
    struct Refusal {
        std::string commandPrefix;
        std::string code; // coded N-code ("N12"), menu code ("1".."5"), or "NAK" for the bench
    };
    std::vector<Refusal> refusals;
    std::vector<std::string> silentCommands;  // no reply at all
    std::vector<std::string> garbageCommands; // a reply that belongs to no grammar
    struct Flood {
        std::string commandPrefix;
        int bytes = 0;
    };
    std::vector<Flood> floods;  // a reply of this many bytes that never ends
    int slowSwitchMs = 0;       // the library query after a select is answered this much later
    int dropAfterCommands = 0;  // the connection ends after this many commands (0: never)
    bool goneAfterDrop = false; // and no new connection is taken (a processor switched off)
};

// Reads fault rules, one per line: "refuse PREFIX CODE", "silent PREFIX", "garbage PREFIX",
// "flood PREFIX BYTES",
// "slow-switch SECONDS", "drop-after N", "gone-after N"; blank lines and lines starting with #
// are skipped.
// Throws std::invalid_argument naming the line that cannot be read.
FaultRules ParseFaultRules(std::string_view text);

// A library of a processor: its parameters by name (coded and menu families) or its dump
// sections (bench family).
struct Library {
    std::map<std::string, std::string> parameters;
    std::vector<std::string> common;
    std::vector<std::string> user;
};

struct Reply {
    std::string bytes;
    int delayMs = 0;
};

// A simulated processor: takes the bytes the program sends and answers every complete command
// (ended by CR) in its family's reply grammar.
class SimProcessor {
public:
    virtual ~SimProcessor() = default;

    void SetFaults(FaultRules faults) { m_faults = std::move(faults); }

    // Replies end in CR LF on TCP, where the program reads LF-ended lines.
    std::vector<Reply> Receive(std::string_view bytes, bool overTcp = false);
    // True once the connection is to end (a drop-after rule fired).
    bool Dropped() const { return m_dropped; }
    // True once the connection has ended for good (a gone-after rule fired).
    bool Gone() const { return m_dropped && m_faults.goneAfterDrop; }
    // Forgets a partly received command and the drop, for a new connection.
    void Reconnect();

    int activeLibrary = 0;
    std::map<int, Library> libraries;
    // Counts every command handled.
    int commands = 0;
    // Goes up with every change of a library's values.
    int revision = 0;

protected:
    virtual std::vector<Reply> Handle(const std::string& command) = 0;
    // A refusal in the family's own words.
    virtual std::vector<Reply> Refuse(const std::string& command, const std::string& code) = 0;
    // The line end of a reply line: CR for the coded family on the serial line, else CR LF.
    virtual std::string LineEnd() const { return "\r\n"; }
    std::string Line(const std::string& text) const { return text + LineEnd(); }
    bool Tcp() const { return m_tcp; }

    int m_pendingSwitchDelay = 0;
    const FaultRules& Faults() const { return m_faults; }

private:
    std::string m_pending;
    FaultRules m_faults;
    bool m_tcp = false;
    bool m_dropped = false;
};

// `texts`: choice texts this processor shows in place of the built-in ones (the form of a site's
// vocabulary file), for playing a processor whose texts differ.
std::unique_ptr<SimProcessor> MakeCodedProcessor(std::int32_t modelType,
                                                 const SiteVocabulary* texts = nullptr);
std::unique_ptr<SimProcessor> MakeMenuProcessor(std::int32_t modelType);
std::unique_ptr<SimProcessor> MakeBenchProcessor(std::int32_t modelType);
// The processor of the model's family; nothing for an undefined model type.
std::unique_ptr<SimProcessor> MakeProcessor(std::int32_t modelType,
                                            const SiteVocabulary* texts = nullptr);

} // namespace setfolio::sim
