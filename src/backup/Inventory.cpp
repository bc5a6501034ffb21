#include "backup/Inventory.h"

#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "link/Decimal.h"

#include <algorithm>
#include <map>
#include <optional>

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

std::optional<int> Whole(std::string_view text) {
    if (text.empty() || text.front() == ' ' || text.front() == '+' || text.front() == '-')
        return std::nullopt;
    const auto number = ParseDecimal(text);
    return number ? std::optional<int>(*number) : std::nullopt;
}

std::optional<std::int32_t> ModelNamed(std::string_view text) {
    for (const auto& entry : Catalogue()) {
        if (entry.entry == text)
            return entry.modelType;
    }
    const auto number = Whole(text);
    if (number && FamilyOf(*number) != ModelFamily::NoFamily)
        return *number;
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
        std::vector<Section> sections;
        int number = 0;
        std::size_t start = 0;
        while (start < content.size()) {
            const auto end = content.find('\n', start);
            const auto line =
                Trim(content.substr(start, end == std::string_view::npos ? end : end - start));
            ++number;
            start = end == std::string_view::npos ? content.size() : end + 1;
            if (line.empty() || line.front() == ';' || line.front() == '#')
                continue;
            if (line.front() == '[') {
                const auto close = line.find(']');
                const std::string name(Trim(line.substr(
                    1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
                for (const auto& earlier : sections) {
                    if (profile::SameName(earlier.name, name))
                        Problem(name, number, "a second section of this name");
                }
                if (!UsableAsFolder(name))
                    Problem(name, number, "the name must be usable as a folder name");
                sections.push_back({name, number, {}});
                continue;
            }
            const auto equals = line.find('=');
            if (sections.empty() || equals == std::string_view::npos) {
                Problem(sections.empty() ? "" : sections.back().name, number,
                        "not a key and value in a section");
                continue;
            }
            const std::string key = Lower(Trim(line.substr(0, equals)));
            auto& entries = sections.back().entries;
            if (entries.contains(key))
                Problem(sections.back().name, number,
                        "a second " + std::string(Trim(line.substr(0, equals))));
            else
                entries[key] = {std::string(Uncommented(line.substr(equals + 1))), number};
        }
        return sections;
    }

    void Read(const Section& section) {
        static constexpr std::string_view Known[] = {"model",    "tcp",       "serial",
                                                     "baud",     "parity",    "databits",
                                                     "stopbits", "libraries", "includecal"};
        for (const auto& [key, entry] : section.entries) {
            if (std::find(std::begin(Known), std::end(Known), key) == std::end(Known))
                Problem(section.name, entry.line, "unknown key " + key);
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
                                std::initializer_list<int> allowed, int& into) {
            const auto found = section.entries.find(key);
            if (found == section.entries.end())
                return;
            const auto number = Whole(found->second.value);
            if (!number || std::find(allowed.begin(), allowed.end(), *number) == allowed.end())
                Problem(section.name, found->second.line,
                        std::string(shown) + " cannot be " + found->second.value);
            else
                into = *number;
        };
        choice("baud", "Baud", {1200, 2400, 4800, 9600, 19200, 38400},
               processor.serialSettings.baudRate);
        choice("databits", "DataBits", {7, 8}, processor.serialSettings.dataBits);
        choice("stopbits", "StopBits", {1, 2}, processor.serialSettings.stopBits);
        if (const auto parity = section.entries.find("parity"); parity != section.entries.end()) {
            const std::string text = Lower(parity->second.value);
            if (text == "none")
                processor.serialSettings.parity = Parity::None;
            else if (text == "odd")
                processor.serialSettings.parity = Parity::Odd;
            else if (text == "even")
                processor.serialSettings.parity = Parity::Even;
            else
                Problem(section.name, parity->second.line, "Parity must be none, odd or even");
        }
    }

    void ReadTcp(const Section& section, InventoryProcessor& processor, const Entry& tcp) {
        std::string_view text = tcp.value;
        std::string_view host = text;
        std::optional<std::string_view> port;
        if (!text.empty() && text.front() == '[') { // [fe80::1]:4001
            const auto close = text.find(']');
            host = close == std::string_view::npos ? std::string_view{} : text.substr(1, close - 1);
            if (close != std::string_view::npos && close + 1 < text.size()) {
                if (text[close + 1] == ':')
                    port = text.substr(close + 2);
                else
                    host = {};
            }
        } else if (const auto colon = text.rfind(':');
                   colon != std::string_view::npos && text.find(':') == colon) {
            host = text.substr(0, colon);
            port = text.substr(colon + 1);
        }
        if (host.empty()) {
            Problem(section.name, tcp.line, "Tcp needs a host");
            return;
        }
        processor.host = std::string(host);
        if (port) {
            const auto number = Whole(*port);
            if (!number || *number < 1 || *number > 65535)
                Problem(section.name, tcp.line, "bad TCP port in " + tcp.value);
            else
                processor.port = static_cast<std::uint16_t>(*number);
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
        const auto first = Whole(Trim(item.substr(0, dash)));
        const auto last =
            dash == std::string_view::npos ? first : Whole(Trim(item.substr(dash + 1)));
        if (!first || !last || *first > *last || *last > 999)
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
    Inventory inventory;
    Reader reader(inventory);
    const auto sections = reader.Sections(content);
    if (sections.empty())
        reader.Problem("", 0, "no processor: one section per processor is needed");
    for (const auto& section : sections)
        reader.Read(section);
    // One serial device is one line: every section on it must use it alike.
    for (std::size_t i = 0; i < inventory.processors.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const auto& a = inventory.processors[j];
            const auto& b = inventory.processors[i];
            if (!a.serial || !b.serial || a.device != b.device)
                continue;
            if (a.LinkText() != b.LinkText())
                reader.Problem(b.name, b.line,
                               "uses " + b.device + " as " + a.name + " does, with other settings");
        }
    }
    return inventory;
}

} // namespace setfolio
