#include "backup/Inventory.h"

#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "core/TextFormat.h"
#include "link/IpAddressList.h"
#include "link/LibraryNumber.h"
#include "link/SerialLine.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace setfolio {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// A value without the comment a blank and ";" start.
std::string_view Uncommented(std::string_view value) {
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t'))
            return Trim(value.substr(0, i));
    }
    return Trim(value);
}

std::string Lower(std::string_view text);

// What keeps a section's name from being the folder its libraries go into, if anything. The
// backup keeps files of its own beside the folders: manifest.json, and names beginning with "."
// (.setfolio, and .git when the destination is a repository).
std::optional<std::string> FolderNameProblem(std::string_view name) {
    if (name.size() > MaxSectionNameBytes)
        return "the name is longer than " + std::to_string(MaxSectionNameBytes) + " bytes";
    if (name.starts_with('.'))
        return std::string("a name beginning with \".\" is kept for the backup's own files");
    if (Lower(name) == "manifest.json")
        return std::string("manifest.json is the backup's own file");
    return std::nullopt;
}

// A name that can be a folder of its own, in the destination, on any system.
bool UsableAsFolder(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.front() == ' ' || name.back() == ' ')
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20;
    });
}

struct Entry {
    std::string value;
    int line = 0;
    std::string key; // as the file writes it
};

struct Section {
    std::string name;
    int line = 0;
    std::map<std::string, Entry> entries; // by key in lower case
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

class Reader {
public:
    explicit Reader(Inventory& inventory) : m_inventory(inventory) {}

    std::vector<Section> Sections(std::string_view content) {
        using Kind = profile::NumberedLine::Kind;
        std::vector<Section> sections;
        std::unordered_set<std::string> names; // in lower case
        for (const auto& line : profile::Lines(content)) {
            const auto text = Trim(line.text);
            if (line.kind == Kind::Blank || line.kind == Kind::Comment || text.starts_with('#'))
                continue;
            if (!IsUtf8(line.text)) {
                Problem(sections.empty() ? "" : sections.back().name, line.number,
                        "the line is not UTF-8 text");
                m_headerless = m_headerless || text.starts_with('[');
                continue;
            }
            if (text.starts_with('[')) {
                m_headerless = !Header(line, text);
                if (m_headerless)
                    continue;
            } else if (m_headerless) {
                continue; // the keys of a section whose header is refused
            }
            if (line.kind == Kind::Section) {
                if (!names.insert(Lower(line.name)).second)
                    Problem(line.name, line.number, "a second section of this name");
                if (!UsableAsFolder(line.name))
                    Problem(line.name, line.number, "the name must be usable as a folder name");
                else if (const auto problem = FolderNameProblem(line.name))
                    Problem(line.name, line.number, *problem);
                sections.push_back({line.name, line.number, {}});
                continue;
            }
            if (sections.empty() || line.kind != Kind::Entry) {
                Problem(sections.empty() ? "" : sections.back().name, line.number,
                        "not a key and value in a section");
                continue;
            }
            const std::string key = Lower(line.name);
            auto& entries = sections.back().entries;
            if (entries.contains(key))
                Problem(sections.back().name, line.number, "a second " + line.name);
            else
                entries[key] = {std::string(Uncommented(line.value)), line.number, line.name};
        }
        return sections;
    }

    // A line that begins with "[" is a section's header, whole: its name closed by "]", and
    // nothing after it but a comment. False when the line goes no further.
    bool Header(const profile::NumberedLine& line, std::string_view text) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            Problem(std::string(Trim(text.substr(1))), line.number,
                    "the section's header has no closing ]");
            return false;
        }
        const auto rest = Trim(text.substr(close + 1));
        if (!rest.empty() && !rest.starts_with(';'))
            Problem(line.name, line.number, "text after the section's closing ]");
        return true;
    }

    void Read(const Section& section) {
        static constexpr std::string_view Known[] = {"model",    "tcp",       "serial",
                                                     "baud",     "parity",    "databits",
                                                     "stopbits", "libraries", "includecal"};
        for (const auto& [key, entry] : section.entries) {
            if (std::find(std::begin(Known), std::end(Known), key) == std::end(Known))
                Problem(section.name, entry.line, "unknown key " + entry.key);
        }
        InventoryProcessor processor;
        processor.name = section.name;
        processor.line = section.line;
        const auto value = [&section](const char* key) -> const Entry* {
            const auto found = section.entries.find(key);
            return found == section.entries.end() ? nullptr : &found->second;
        };
        const auto required = [&](const char* key, const char* shown) -> const Entry* {
            const Entry* entry = value(key);
            if (!entry)
                Problem(section.name, section.line, std::string("no ") + shown);
            return entry;
        };
        if (const Entry* model = required("model", "Model")) {
            if (const auto type = ModelNamed(model->value))
                processor.modelType = *type;
            else
                Problem(section.name, model->line, "unknown model " + model->value);
        }
        ReadLink(section, processor, value("tcp"), value("serial"));
        for (const auto& [key, shown] : {std::pair{"baud", "Baud"},
                                         {"parity", "Parity"},
                                         {"databits", "DataBits"},
                                         {"stopbits", "StopBits"}}) {
            if (const Entry* entry = value(key); entry && !processor.serial)
                Problem(section.name, entry->line,
                        std::string(shown) + " belongs to a Serial link");
        }
        if (const Entry* libraries = required("libraries", "Libraries")) {
            if (auto numbers = ParseLibraryList(libraries->value))
                processor.libraries = std::move(*numbers);
            else
                Problem(section.name, libraries->line,
                        "Libraries must be numbers and ranges of 0 to 999, such as 1-20,25");
        }
        if (const Entry* calibration = value("includecal")) {
            const std::string text = Lower(calibration->value);
            if (text == "yes" || text == "true" || text == "1")
                processor.includeCalibration = true;
            else if (text != "no" && text != "false" && text != "0")
                Problem(section.name, calibration->line, "IncludeCal must be yes or no");
        }
        m_inventory.processors.push_back(std::move(processor));
    }

    void Problem(const std::string& section, int line, std::string text) {
        m_inventory.problems.push_back({section, line, std::move(text)});
    }

private:
    // A header was refused: the lines up to the next one are its section's, not the one before.
    bool m_headerless = false;

    void ReadLink(const Section& section, InventoryProcessor& processor, const Entry* tcp,
                  const Entry* serial) {
        if (tcp && serial) {
            Problem(section.name, serial->line, "both Tcp and Serial: a processor has one link");
            return;
        }
        if (!tcp && !serial) {
            Problem(section.name, section.line, "no link: Tcp=HOST[:PORT] or Serial=DEVICE");
            return;
        }
        if (tcp) {
            ReadTcp(section, processor, *tcp);
            return;
        }
        processor.serial = true;
        processor.device = serial->value;
        if (processor.device.empty())
            Problem(section.name, serial->line, "Serial needs a device");
        const auto choice = [&](const char* key, const char* shown,
                                std::optional<int> (*parse)(std::string_view), int& into) {
            const auto found = section.entries.find(key);
            if (found == section.entries.end())
                return;
            if (const auto number = parse(found->second.value))
                into = *number;
            else
                Problem(section.name, found->second.line,
                        std::string(shown) + " cannot be " + found->second.value);
        };
        choice("baud", "Baud", ParseBaudRate, processor.serialSettings.baudRate);
        choice("databits", "DataBits", ParseDataBits, processor.serialSettings.dataBits);
        choice("stopbits", "StopBits", ParseStopBits, processor.serialSettings.stopBits);
        if (const auto parity = section.entries.find("parity"); parity != section.entries.end()) {
            if (const auto chosen = ParseParity(Lower(parity->second.value)))
                processor.serialSettings.parity = *chosen;
            else
                Problem(section.name, parity->second.line,
                        "Parity must be " + InWords(ParityNames));
        }
    }

    void ReadTcp(const Section& section, InventoryProcessor& processor, const Entry& tcp) {
        const auto reading = ReadHostAddress(tcp.value, processor.port);
        switch (reading.fault) {
        case AddressFault::None:
            processor.host = reading.address.host;
            processor.port = reading.address.port;
            return;
        case AddressFault::NoHost:
            Problem(section.name, tcp.line, "Tcp needs a host");
            return;
        case AddressFault::BadHost:
            Problem(section.name, tcp.line, "bad TCP host in " + tcp.value);
            return;
        case AddressFault::BadPort:
            Problem(section.name, tcp.line, "bad TCP port in " + tcp.value);
            return;
        }
    }

    Inventory& m_inventory;
};

} // namespace

std::string InventoryProcessor::LinkText() const {
    if (!serial) {
        const bool bracket = host.find(':') != std::string::npos;
        return "tcp " + (bracket ? "[" + host + "]" : host) + ":" + std::to_string(port);
    }
    const char parity = serialSettings.parity == Parity::Odd    ? 'O'
                        : serialSettings.parity == Parity::Even ? 'E'
                                                                : 'N';
    return "serial " + device + " " + std::to_string(serialSettings.baudRate) + " " +
           std::to_string(serialSettings.dataBits) + parity +
           std::to_string(serialSettings.stopBits);
}

std::optional<std::vector<int>> ParseLibraryList(std::string_view text) {
    std::vector<int> libraries;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const auto item =
            Trim(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        const auto dash = item.find('-');
        const auto first = ParseLibraryNumber(Trim(item.substr(0, dash)));
        const auto last = dash == std::string_view::npos
                              ? first
                              : ParseLibraryNumber(Trim(item.substr(dash + 1)));
        if (!first || !last || *first > *last)
            return std::nullopt;
        for (int library = *first; library <= *last; ++library) {
            if (std::find(libraries.begin(), libraries.end(), library) == libraries.end())
                libraries.push_back(library);
        }
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (libraries.empty())
        return std::nullopt;
    return libraries;
}

Inventory ParseInventory(std::string_view content) {
    // A byte-order mark, as some editors write one at the start of a UTF-8 file.
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    Inventory inventory;
    Reader reader(inventory);
    const auto sections = reader.Sections(content);
    if (sections.empty())
        reader.Problem("", 0, "no processor: one section per processor is needed");
    for (const auto& section : sections)
        reader.Read(section);
    // One serial device is one line: every section on it must use it alike. Each setting of a
    // device is kept with the first section that used it, so that a large plant is checked in
    // one pass.
    std::unordered_map<std::string, std::vector<std::pair<std::string, const InventoryProcessor*>>>
        devices; // device -> each setting it is used with, and the first section to use it so
    for (const auto& b : inventory.processors) {
        if (!b.serial)
            continue;
        auto& settings = devices[b.device];
        const std::string link = b.LinkText();
        bool known = false;
        for (const auto& [setting, a] : settings) {
            known = known || setting == link;
            if (setting != link)
                reader.Problem(b.name, b.line,
                               "uses " + b.device + " as " + a->name +
                                   " does, with other settings");
        }
        if (!known)
            settings.emplace_back(link, &b);
    }
    // In the order of the file, as an editor shows it; what concerns the whole file (line 0)
    // comes after the lines.
    const auto order = [](int line) { return line == 0 ? std::numeric_limits<int>::max() : line; };
    std::stable_sort(
        inventory.problems.begin(), inventory.problems.end(),
        [&order](const auto& a, const auto& b) { return order(a.line) < order(b.line); });
    return inventory;
}

} // namespace setfolio
