#include "SimProcessor.h"

#include "core/ModelCatalogue.h"
#include "link/Exchange.h"

#include <sstream>
#include <stdexcept>
#include <utility>

namespace setfolio::sim {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Garbage(int seed) {
    // Bytes of no grammar, never a line end, the same every run.
    std::string bytes;
    unsigned value = 2166136261u ^ static_cast<unsigned>(seed);
    for (int i = 0; i < 12; ++i) {
        value = value * 16777619u + 7u;
        char c = static_cast<char>(0x20 + value % 0x5F);
        bytes.push_back(c);
    }
    return "\x7f" + bytes;
}

} // namespace

FaultRules ParseFaultRules(std::string_view text) {
    FaultRules rules;
    std::istringstream lines{std::string(text)};
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        auto bad = [&] {
            return std::invalid_argument("fault rule " + std::to_string(number) +
                                         " cannot be read: " + line);
        };
        if (kind == "refuse") {
            FaultRules::Refusal refusal;
            if (!(words >> refusal.commandPrefix >> refusal.code))
                throw bad();
            rules.refusals.push_back(refusal);
        } else if (kind == "silent" || kind == "garbage") {
            std::string prefix;
            if (!(words >> prefix))
                throw bad();
            (kind == "silent" ? rules.silentCommands : rules.garbageCommands).push_back(prefix);
        } else if (kind == "slow-switch") {
            double seconds = 0;
            if (!(words >> seconds) || seconds < 0)
                throw bad();
            rules.slowSwitchMs = static_cast<int>(seconds * 1000);
        } else if (kind == "drop-after") {
            if (!(words >> rules.dropAfterCommands) || rules.dropAfterCommands < 1)
                throw bad();
        } else {
            throw bad();
        }
    }
    return rules;
}

std::vector<Reply> SimProcessor::Receive(std::string_view bytes, bool overTcp) {
    m_tcp = overTcp;
    std::vector<Reply> replies;
    if (m_dropped)
        return replies;
    m_pending.append(bytes);
    for (auto cr = m_pending.find('\r'); cr != std::string::npos; cr = m_pending.find('\r')) {
        std::string command = m_pending.substr(0, cr);
        m_pending.erase(0, cr + 1);
        // A stray LF before a command (a CR LF sender) is not part of it.
        while (!command.empty() && command.front() == '\n')
            command.erase(0, 1);
        ++commands;
        std::vector<Reply> answer;
        bool handled = false;
        for (const auto& prefix : m_faults.silentCommands) {
            if (StartsWith(command, prefix))
                handled = true;
        }
        for (const auto& prefix : m_faults.garbageCommands) {
            if (!handled && StartsWith(command, prefix)) {
                answer.push_back({Line(Garbage(commands)), 0});
                handled = true;
            }
        }
        for (const auto& refusal : m_faults.refusals) {
            if (!handled && StartsWith(command, refusal.commandPrefix)) {
                answer = Refuse(command, refusal.code);
                handled = true;
            }
        }
        if (!handled)
            answer = Handle(command);
        replies.insert(replies.end(), answer.begin(), answer.end());
        if (m_faults.dropAfterCommands > 0 && commands >= m_faults.dropAfterCommands) {
            m_dropped = true;
            break;
        }
    }
    return replies;
}

void SimProcessor::Reconnect() {
    m_pending.clear();
    m_dropped = false;
    commands = 0;
}

namespace {

// Commands are a class digit, a two-character code and a value; replies repeat the first three
// characters, a blank and the result. Every reply ends with CR.
class CodedProcessor : public SimProcessor {
public:
    explicit CodedProcessor(std::int32_t modelType) : m_modelType(modelType) {}

protected:
    std::string LineEnd() const override { return Tcp() ? "\r\n" : "\r"; }

    std::vector<Reply> Handle(const std::string& command) override {
        if (command == "701") {
            const int delay = std::exchange(m_pendingSwitchDelay, 0);
            std::string number = std::to_string(activeLibrary);
            number.insert(0, number.size() < 3 ? 3 - number.size() : 0, '0');
            return {{Line("701 " + number), delay}};
        }
        if (StartsWith(command, "700 ")) {
            const auto number = ParseDecimal(command.substr(4));
            if (!number || *number < 0 || *number > 999)
                return {{Line("700 N13"), 0}};
            activeLibrary = *number;
            m_pendingSwitchDelay = Faults().slowSwitchMs;
            return {{Line("700 Y  "), 0}};
        }
        return {{Line(Head(command) + " N01"), 0}};
    }

    std::vector<Reply> Refuse(const std::string& command, const std::string& code) override {
        return {{Line(Head(command) + " " + code), 0}};
    }

    static std::string Head(const std::string& command) {
        std::string head = command.substr(0, 3);
        head.resize(3, ' ');
        return head;
    }

    std::int32_t m_modelType;
};

// Commands are a menu path and "?" or a value; every reply starts with an acknowledgement line,
// "0" when accepted, and a query adds its value line.
class MenuProcessor : public SimProcessor {
protected:
    std::vector<Reply> Handle(const std::string& command) override {
        if (command == "3.1 ?") {
            const int delay = std::exchange(m_pendingSwitchDelay, 0);
            return {{Line("0") + Line(std::to_string(activeLibrary)), delay}};
        }
        if (StartsWith(command, "3.1 ")) {
            const auto number = ParseDecimal(command.substr(4));
            if (!number || *number < 0 || *number > 999)
                return {{Line("3"), 0}};
            activeLibrary = *number;
            m_pendingSwitchDelay = Faults().slowSwitchMs;
            return {{Line("0"), 0}};
        }
        return {{Line("1"), 0}};
    }

    std::vector<Reply> Refuse(const std::string&, const std::string& code) override {
        return {{Line(code), 0}};
    }
};

// Dotted keyword commands; a reply line ends in ACK when the command was carried out, NAK when
// it was not.
class BenchProcessor : public SimProcessor {
protected:
    std::vector<Reply> Handle(const std::string& command) override {
        if (command == "SYST.LIBRARY.SELECT?") {
            const int delay = std::exchange(m_pendingSwitchDelay, 0);
            return {{Line(std::to_string(activeLibrary) + "\x06"), delay}};
        }
        if (StartsWith(command, "SYST.LIBRARY.SELECT:")) {
            const auto number = ParseDecimal(command.substr(20));
            if (!number || *number < 0 || *number > 999)
                return {{Line("\x15"), 0}};
            activeLibrary = *number;
            m_pendingSwitchDelay = Faults().slowSwitchMs;
            return {{Line("\x06"), 0}};
        }
        return {{Line("\x15"), 0}};
    }

    std::vector<Reply> Refuse(const std::string&, const std::string&) override {
        return {{Line("\x15"), 0}};
    }
};

} // namespace

std::unique_ptr<SimProcessor> MakeCodedProcessor(std::int32_t modelType) {
    return std::make_unique<CodedProcessor>(modelType);
}

std::unique_ptr<SimProcessor> MakeMenuProcessor(std::int32_t) {
    return std::make_unique<MenuProcessor>();
}

std::unique_ptr<SimProcessor> MakeBenchProcessor(std::int32_t) {
    return std::make_unique<BenchProcessor>();
}

std::unique_ptr<SimProcessor> MakeProcessor(std::int32_t modelType) {
    switch (FamilyOf(modelType)) {
    case ModelFamily::CodedFamily:
        return MakeCodedProcessor(modelType);
    case ModelFamily::MenuFamily:
        return MakeMenuProcessor(modelType);
    case ModelFamily::BenchFamily:
        return MakeBenchProcessor(modelType);
    case ModelFamily::NoFamily:
        break;
    }
    return nullptr;
}

} // namespace setfolio::sim
