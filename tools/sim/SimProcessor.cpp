#include "SimProcessor.h"

#include "tables/SiteVocabulary.h"

#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "link/LibraryNumber.h"
#include "tables/Assembly.h"

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
        } else if (kind == "flood") {
            const auto blank = rest.rfind(' ');
            const auto bytes =
                blank == std::string::npos ? std::nullopt : ParseDecimal(rest.substr(blank + 1));
            if (!bytes || *bytes < 1 || blank == 0)
                throw bad();
            rules.floods.push_back({rest.substr(0, blank), *bytes});
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
        } else if (kind == "drop-after" || kind == "gone-after") {
            std::istringstream value(rest);
            if (!(value >> rules.dropAfterCommands) || rules.dropAfterCommands < 1)
                throw bad();
            rules.goneAfterDrop = kind == "gone-after";
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
        for (const auto& flood : m_faults.floods) {
            if (!handled && StartsWith(command, flood.commandPrefix)) {
                answer.push_back({std::string(static_cast<std::size_t>(flood.bytes), 'X'), 0});
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
    CodedProcessor(std::int32_t modelType, const SiteVocabulary* texts)
        : m_settings("/nonexistent"), m_model(m_settings) {
        m_model.Use(modelType);
        m_tables.site = texts;
        AssembleParameterTables(m_tables, m_model, modelType);
        m_tables.site = nullptr;
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

// Numbers for the made-up dumps: the same sequence for the same seed, every run.
class Sequence {
public:
    explicit Sequence(unsigned seed) : m_value(2166136261u ^ seed) {}
    int Next(int below) {
        m_value = m_value * 1664525u + 1013904223u;
        return static_cast<int>((m_value >> 8) % static_cast<unsigned>(below));
    }

private:
    unsigned m_value;
};

// `units` thousandths (or whatever `decimals` says) as a decimal number with that many places.
std::string Fixed(int units, int decimals) {
    std::string digits = std::to_string(units < 0 ? -units : units);
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');
    digits.insert(digits.size() - places, ".");
    return (units < 0 ? "-" : "") + digits;
}

std::string TwoDigits(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

// The first line of a dump names its section and gives the dump's size in bytes, this line and
// every line end included, as its second word.
std::vector<std::string> WithHeader(const std::string& section, int library,
                                    std::vector<std::string> body) {
    std::size_t bodyBytes = 0;
    for (const auto& line : body)
        bodyBytes += line.size() + 2;
    const auto header = [&](std::size_t bytes) {
        return "#" + section + " " + std::to_string(bytes) + " LIBRARY " + std::to_string(library);
    };
    std::size_t bytes = bodyBytes;
    while (bodyBytes + header(bytes).size() + 2 != bytes)
        bytes = bodyBytes + header(bytes).size() + 2;
    body.insert(body.begin(), header(bytes));
    return body;
}

// Calibration, linearization and jog values of a library the processor was never sent.
std::vector<std::string> MadeUpCommon(int library) {
    Sequence next(static_cast<unsigned>(library) * 2u + 1u);
    std::vector<std::string> lines;
    for (int channel = 1; channel <= 2; ++channel) {
        const std::string ch = "CH" + std::to_string(channel);
        lines.push_back("CAL." + ch + ".ZERO:" + Fixed(next.Next(2001) - 1000, 5));
        lines.push_back("CAL." + ch + ".GAIN:" + Fixed(95000 + next.Next(10001), 5));
        lines.push_back("CAL." + ch + ".MASTER:" + Fixed(10000 + next.Next(90001), 4));
        lines.push_back("CAL." + ch + ".DATE:2024-" + TwoDigits(1 + next.Next(12)) + "-" +
                        TwoDigits(1 + next.Next(28)));
        lines.push_back("LIN." + ch + ".POINTS:8");
        for (int point = 1; point <= 8; ++point)
            lines.push_back("LIN." + ch + ".P" + TwoDigits(point) + ":" + Fixed(point * 125000, 5) +
                            "," + Fixed(point * 125000 + next.Next(201) - 100, 5));
    }
    lines.push_back("JOG.SPEED.FAST:" + Fixed(200 + next.Next(301), 1));
    lines.push_back("JOG.SPEED.SLOW:" + Fixed(10 + next.Next(41), 1));
    lines.push_back("JOG.STEP:" + Fixed(1 + next.Next(100), 3));
    lines.push_back("JOG.LIMIT.LOW:" + Fixed(-next.Next(5000), 2));
    lines.push_back("JOG.LIMIT.HIGH:" + Fixed(next.Next(5000), 2));
    return WithHeader("COMMON", library, std::move(lines));
}

// The measuring set-up of a library the processor was never sent.
std::vector<std::string> MadeUpUser(int library) {
    static constexpr const char* Kinds[] = {"DIA", "LEN", "RUNOUT", "TAPER", "FLAT"};
    Sequence next(static_cast<unsigned>(library) * 2u + 2u);
    std::vector<std::string> lines;
    lines.push_back("USER.NAME:PART " + std::to_string(library));
    lines.push_back("USER.UNITS:" + std::string(next.Next(2) == 0 ? "MM" : "IN"));
    lines.push_back("USER.RESOLUTION:" + Fixed(1 + next.Next(10), 4));
    lines.push_back("USER.AVERAGE:" + std::to_string(1 + next.Next(16)));
    for (int feature = 1; feature <= 12; ++feature) {
        const std::string f = "FEAT.F" + TwoDigits(feature);
        const int nominal = 5000 + next.Next(95000);
        const int tolerance = 5 + next.Next(50);
        lines.push_back(f + ".NAME:" + Kinds[next.Next(5)] + " " + std::to_string(feature));
        lines.push_back(f + ".NOMINAL:" + Fixed(nominal, 4));
        lines.push_back(f + ".UPPER:" + Fixed(tolerance, 4));
        lines.push_back(f + ".LOWER:" + Fixed(-tolerance, 4));
        lines.push_back(f + ".ALARM:" + std::string(next.Next(3) == 0 ? "OFF" : "ON"));
    }
    return WithHeader("USER", library, std::move(lines));
}

// Dotted keyword commands; a reply line ends in ACK when the command was carried out, NAK when
// it was not. A library is handed over as two text dumps, "Common" and "User", each closed by a
// line of its own; a dump streamed back is taken line by line until its size is reached and then
// acknowledged once.
class BenchProcessor : public SimProcessor {
protected:
    std::vector<Reply> Handle(const std::string& command) override { return Take(command, false); }

    std::vector<Reply> Refuse(const std::string& command, const std::string&) override {
        return Take(command, true);
    }

private:
    struct Incoming {
        std::string section;
        std::int64_t size = 0;
        std::int64_t received = 0;
        std::vector<std::string> lines;
        bool refused = false;
    };

    static constexpr const char* Ack = "\x06";
    static constexpr const char* Nak = "\x15";

    // The first line of a dump: "#COMMON" or "#USER" and the dump's size.
    static std::optional<Incoming> DumpStart(const std::string& line) {
        const auto blank = line.find(' ');
        if (blank == std::string::npos)
            return std::nullopt;
        const std::string first = line.substr(0, blank);
        const std::string rest = line.substr(blank + 1);
        const auto size = ParseDecimal(rest.substr(0, rest.find(' ')));
        if ((first != "#COMMON" && first != "#USER") || !size || *size <= 0)
            return std::nullopt;
        return Incoming{first.substr(1), *size, 0, {}, false};
    }

    std::vector<Reply> Take(const std::string& command, bool refused) {
        auto start = DumpStart(command);
        // A command, or the start of another dump, ends an unfinished dump.
        if (m_incoming && !start && !StartsWith(command, "SYST."))
            return Collect(command, refused);
        m_incoming = std::move(start);
        if (m_incoming)
            return Collect(command, refused);
        if (command == "SYST.LIBRARY.COMMON?" || command == "SYST.LIBRARY.USER?")
            return Dump(command == "SYST.LIBRARY.COMMON?", refused);
        if (refused)
            return {{Line(Nak), 0}};
        if (command == "SYST.LIBRARY.SELECT?") {
            const int delay = std::exchange(m_pendingSwitchDelay, 0);
            return {{Line(std::to_string(activeLibrary) + Ack), delay}};
        }
        if (StartsWith(command, "SYST.LIBRARY.SELECT:")) {
            const auto number = ParseDecimal(command.substr(20));
            if (!number || *number < 0 || *number > 999)
                return {{Line(Nak), 0}};
            activeLibrary = *number;
            m_pendingSwitchDelay = Faults().slowSwitchMs;
            return {{Line(Ack), 0}};
        }
        return {{Line(Nak), 0}};
    }

    std::vector<Reply> Collect(const std::string& line, bool refused) {
        Incoming& incoming = *m_incoming;
        incoming.lines.push_back(line);
        incoming.received += static_cast<std::int64_t>(line.size()) + 2;
        incoming.refused = incoming.refused || refused;
        if (incoming.received < incoming.size)
            return {};
        const Incoming done = std::move(incoming);
        m_incoming.reset();
        if (done.refused || done.received != done.size)
            return {{Line(Nak), 0}};
        Library& library = libraries[activeLibrary];
        (done.section == "COMMON" ? library.common : library.user) = done.lines;
        ++revision;
        return {{Line(Ack), 0}};
    }

    // The dump of the active library, one reply a line, closed by ACK (NAK when refused).
    std::vector<Reply> Dump(bool common, bool refused) {
        Library& library = libraries[activeLibrary];
        auto& lines = common ? library.common : library.user;
        if (lines.empty())
            lines = common ? MadeUpCommon(activeLibrary) : MadeUpUser(activeLibrary);
        std::vector<Reply> replies;
        replies.reserve(lines.size() + 1);
        for (const auto& line : lines)
            replies.push_back({Line(line), 0});
        replies.push_back({Line(refused ? Nak : Ack), 0});
        return replies;
    }

    std::optional<Incoming> m_incoming;
};

} // namespace

std::unique_ptr<SimProcessor> MakeCodedProcessor(std::int32_t modelType,
                                                 const SiteVocabulary* texts) {
    return std::make_unique<CodedProcessor>(modelType, texts);
}

std::unique_ptr<SimProcessor> MakeMenuProcessor(std::int32_t modelType) {
    return std::make_unique<MenuProcessor>(modelType);
}

std::unique_ptr<SimProcessor> MakeBenchProcessor(std::int32_t) {
    return std::make_unique<BenchProcessor>();
}

std::unique_ptr<SimProcessor> MakeProcessor(std::int32_t modelType, const SiteVocabulary* texts) {
    switch (FamilyOf(modelType)) {
    case ModelFamily::CodedFamily:
        return MakeCodedProcessor(modelType, texts);
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
