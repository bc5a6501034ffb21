#include "SimProcessor.h"

#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "tables/Assembly.h"
#include "transfer/NumberedNames.h"

#include <algorithm>
#include <optional>
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
        // The command prefix may hold blanks ("700 004"): it is the rest of the line, less the
        // code at its end for a refusal.
        std::string rest;
        std::getline(words, rest);
        while (!rest.empty() && rest.front() == ' ')
            rest.erase(0, 1);
        while (!rest.empty() && rest.back() == ' ')
            rest.pop_back();
        if (kind == "refuse") {
            const auto blank = rest.rfind(' ');
            if (blank == std::string::npos || blank == 0)
                throw bad();
            FaultRules::Refusal refusal{rest.substr(0, blank), rest.substr(blank + 1)};
            while (!refusal.commandPrefix.empty() && refusal.commandPrefix.back() == ' ')
                refusal.commandPrefix.pop_back();
            rules.refusals.push_back(refusal);
        } else if (kind == "silent" || kind == "garbage") {
            if (rest.empty())
                throw bad();
            (kind == "silent" ? rules.silentCommands : rules.garbageCommands).push_back(rest);
        } else if (kind == "slow-switch") {
            std::istringstream value(rest);
            double seconds = 0;
            if (!(value >> seconds) || seconds < 0)
                throw bad();
            rules.slowSwitchMs = static_cast<int>(seconds * 1000);
        } else if (kind == "drop-after") {
            std::istringstream value(rest);
            if (!(value >> rules.dropAfterCommands) || rules.dropAfterCommands < 1)
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
// characters, a blank and the result. Every reply ends with CR. The parameters are those of the
// model's tables; a library's values are made up (the same every run) when first asked for.
class CodedProcessor : public SimProcessor {
public:
    explicit CodedProcessor(std::int32_t modelType)
        : m_settings("/nonexistent"), m_model(m_settings) {
        m_model.Use(modelType);
        AssembleParameterTables(m_tables, m_model, modelType);
    }

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
        if (command.size() >= 3) {
            if (auto reply = Parameter(command))
                return {{Line(Head(command) + " " + *reply), 0}};
        }
        return {{Line(Head(command) + " N01"), 0}};
    }

    std::vector<Reply> Refuse(const std::string& command, const std::string& code) override {
        return {{Line(Head(command) + " " + code), 0}};
    }

private:
    static std::string Head(const std::string& command) {
        std::string head = command.substr(0, 3);
        head.resize(3, ' ');
        return head;
    }

    // The library's values, made up the first time it is used.
    Library& Active() {
        Library& library = libraries[activeLibrary];
        if (!library.parameters.empty())
            return library;
        const int seed = activeLibrary;
        int i = 0;
        for (const auto& row : m_tables.MnemonicList.Rows()) {
            const int count = std::max<int>(1, static_cast<int>(row.values.values.size()));
            library.parameters[row.name] = FormatValueIndex((seed + i++) % count);
        }
        for (const auto& row : m_tables.CondMnemonicList.Rows()) {
            const auto& set = row.valueSets.at(static_cast<std::size_t>(SourceIndex(library, row)));
            const int count = std::max<int>(1, static_cast<int>(set.values.size()));
            library.parameters[row.name] = FormatValueIndex((seed + i++) % count);
        }
        for (const auto& row : m_tables.NumericList.Rows())
            library.parameters[row.name] = std::to_string(seed * 100 + i++) + ".5";
        for (const auto& row : m_tables.HeaderList.Rows())
            library.parameters[row.name] = "LIBRARY " + std::to_string(seed) + " " + row.name;
        return library;
    }

    int SourceIndex(const Library& library, const TCondMnemonic& row) const {
        const auto it = library.parameters.find(row.source);
        const auto index = it == library.parameters.end() ? std::optional<std::int32_t>(0)
                                                          : ParseDecimal(it->second);
        const int sets = static_cast<int>(row.valueSets.size());
        return index && *index >= 0 && *index < sets ? *index : 0;
    }

    static std::string TextAt(const TvvValues& vocabulary, const std::string& stored) {
        const auto index = ParseDecimal(stored);
        if (!index || *index < 0 || static_cast<std::size_t>(*index) >= vocabulary.values.size())
            return "DISABLED";
        return vocabulary.values[static_cast<std::size_t>(*index)];
    }

    // The result of a parameter query or set, or nothing for a code of no parameter.
    std::optional<std::string> Parameter(const std::string& command) {
        const char kind = command[0];
        const std::string code = command.substr(1, 2);
        const std::string value = command.size() > 4 ? command.substr(4) : std::string();
        Library& library = Active();
        auto set = [&](const std::string& name, const std::string& stored) {
            library.parameters[name] = stored;
            ++revision;
            return std::string("Y  ");
        };
        for (const auto& row : m_tables.MnemonicList.Rows()) {
            if (row.code != code)
                continue;
            if (kind == '4')
                return TextAt(row.values, library.parameters[row.name]);
            const auto index = ParseDecimal(value);
            if (kind == '2' && index && *index >= 0 &&
                static_cast<std::size_t>(*index) < row.values.values.size())
                return set(row.name, FormatValueIndex(*index));
            if (kind == '2')
                return std::string("N15");
        }
        for (const auto& row : m_tables.CondMnemonicList.Rows()) {
            if (row.code != code)
                continue;
            const auto& texts =
                row.valueSets.at(static_cast<std::size_t>(SourceIndex(library, row)));
            if (kind == '4')
                return TextAt(texts, library.parameters[row.name]);
            const auto index = ParseDecimal(value);
            if (kind == '2' && index && *index >= 0 &&
                static_cast<std::size_t>(*index) < texts.values.size())
                return set(row.name, FormatValueIndex(*index));
            if (kind == '2')
                return std::string("N15");
        }
        for (const auto& row : m_tables.NumericList.Rows()) {
            if (row.code != code)
                continue;
            if (kind == '3')
                return library.parameters[row.name];
            if (kind == '1')
                return set(row.name, value);
        }
        for (const auto& row : m_tables.HeaderList.Rows()) {
            if (kind == '6' && row.code1 == code)
                return library.parameters[row.name];
            if (kind == '6' && row.code2 == code) {
                // The value follows the code directly (after one blank on paced models).
                std::string text = command.substr(3);
                if (PacedUpload(m_model.ModelType()) && !text.empty() && text[0] == ' ')
                    text.erase(0, 1);
                return set(row.name, text);
            }
        }
        return std::nullopt;
    }

    Settings m_settings;
    CurrentModel m_model;
    ParameterTables m_tables;
};

// Commands are a menu path and "?" or a value; every reply starts with an acknowledgement line,
// "0" when accepted, and a query adds its value line. Library values belong to the active
// library; global values to the processor as a whole (kept as library -1).
class MenuProcessor : public SimProcessor {
public:
    explicit MenuProcessor(std::int32_t modelType)
        : m_settings("/nonexistent"), m_model(m_settings) {
        m_model.Use(modelType);
        AssembleParameterTables(m_tables, m_model, modelType);
    }

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
        const auto blank = command.find(' ');
        if (blank != std::string::npos) {
            const std::string path = command.substr(0, blank);
            const std::string value = command.substr(blank + 1);
            if (auto* stored = Find(path)) {
                if (value == "?")
                    return {{Line("0") + Line(Shown(*stored)), 0}};
                *stored = value;
                ++revision;
                return {{Line("0"), 0}};
            }
        }
        return {{Line("1"), 0}};
    }

    std::vector<Reply> Refuse(const std::string&, const std::string& code) override {
        return {{Line(code), 0}};
    }

private:
    // Positive numbers are shown with their sign, as the processor's display does.
    static std::string Shown(const std::string& value) {
        return !value.empty() && value[0] >= '0' && value[0] <= '9' ? "+" + value : value;
    }

    std::string* Find(const std::string& path) {
        Fill(libraries[activeLibrary], m_tables.LibraryParmList, activeLibrary);
        Fill(libraries[-1], m_tables.GlobalParmList, 0);
        for (const auto& row : m_tables.LibraryParmList.Rows()) {
            if (row.menuPath == path)
                return &libraries[activeLibrary].parameters[row.name];
        }
        for (const auto& row : m_tables.GlobalParmList.Rows()) {
            if (row.menuPath == path)
                return &libraries[-1].parameters[row.name];
        }
        return nullptr;
    }

    // Values made up the first time a library is used, the same every run.
    static void Fill(Library& library, const ParmTable<TdpParm>& list, int seed) {
        if (!library.parameters.empty())
            return;
        int i = 0;
        for (const auto& row : list.Rows()) {
            std::string value;
            if (row.name == "Heading" || row.name == "ProductID")
                value = "LINE " + std::to_string(seed) + "/A_" + std::to_string(i);
            else if (i % 3 == 1)
                value = "-" + std::to_string(seed + i) + ".25";
            else
                value = std::to_string(seed * 10 + i) + ".5";
            library.parameters[row.name] = value;
            ++i;
        }
    }

    Settings m_settings;
    CurrentModel m_model;
    ParameterTables m_tables;
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

std::unique_ptr<SimProcessor> MakeMenuProcessor(std::int32_t modelType) {
    return std::make_unique<MenuProcessor>(modelType);
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
