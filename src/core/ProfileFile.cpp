#include "core/ProfileFile.h"

#include "core/AtomicFile.h"

#include <limits>
#include <unordered_map>
#include <vector>

namespace setfolio {

namespace {

using profile::SameName;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

// One line of the file: where it starts, where its text ends and where the next line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t textEnd = 0; // before the line end (LF or CR LF)
    std::size_t end = 0;     // after the line end
    bool terminated = false;
};

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        Line line;
        line.begin = pos;
        const auto lf = content.find('\n', pos);
        if (lf == std::string_view::npos) {
            line.textEnd = content.size();
            line.end = content.size();
        } else {
            line.textEnd = (lf > pos && content[lf - 1] == '\r') ? lf - 1 : lf;
            line.end = lf + 1;
            line.terminated = true;
        }
        lines.push_back(line);
        pos = line.end;
    }
    return lines;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view text) {
    const auto trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    Entry entry{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
    if (entry.key.empty())
        return std::nullopt;
    return entry;
}

// Where a key sits in the file, as far as it was found.
struct Location {
    bool sectionFound = false;
    std::size_t lastContentLine = 0; // last non-blank line of the section (its header at least)
    std::optional<std::size_t> keyLine;
    std::string_view value;
};

Location Locate(std::string_view content, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
    Location where;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto text = content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin);
        if (const auto name = SectionName(text)) {
            if (inSection)
                break; // the first section of that name is the one that counts
            if (SameName(*name, Trim(section))) {
                inSection = true;
                where.sectionFound = true;
                where.lastContentLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!Trim(text).empty())
            where.lastContentLine = i;
        if (const auto entry = EntryOf(text); entry && SameName(entry->key, Trim(key))) {
            where.keyLine = i;
            where.value = entry->value;
            return where;
        }
    }
    return where;
}

// A value as readers get it: without enclosing double quotes, and no longer than a read takes.
std::string ReadValue(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (value.size() > MaxProfileValueLength)
        value = value.substr(0, MaxProfileValueLength);
    return std::string(value);
}

} // namespace

namespace profile {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string> FindValue(std::string_view content, std::string_view section,
                                     std::string_view key) {
    const auto lines = SplitLines(content);
    const auto where = Locate(content, lines, section, key);
    if (!where.keyLine)
        return std::nullopt;
    return ReadValue(where.value);
}

std::vector<NumberedLine> Lines(std::string_view content) {
    std::vector<NumberedLine> numbered;
    int number = 0;
    for (const auto& line : SplitLines(content)) {
        NumberedLine& read = numbered.emplace_back();
        read.number = ++number;
        read.text = content.substr(line.begin, line.textEnd - line.begin);
        if (const auto name = SectionName(read.text)) {
            read.kind = NumberedLine::Kind::Section;
            read.name = *name;
        } else if (const auto entry = EntryOf(read.text)) {
            read.kind = NumberedLine::Kind::Entry;
            read.name = entry->key;
            read.value = ReadValue(entry->value);
        } else {
            const auto trimmed = Trim(read.text);
            read.kind = trimmed.empty()          ? NumberedLine::Kind::Blank
                        : trimmed.front() == ';' ? NumberedLine::Kind::Comment
                                                 : NumberedLine::Kind::Other;
        }
    }
    return numbered;
}

std::vector<Section> Sections(std::string_view content) {
    return Index(content).Sections();
}

namespace {

// The lookup key of a section's key: both names in lower case, which is how every reader
// matches them.
std::string IndexKey(std::string_view section, std::string_view key) {
    std::string text = LowerName(Trim(section));
    text += '\0';
    text += LowerName(Trim(key));
    return text;
}

bool IsCut(std::string_view line) {
    const auto entry = EntryOf(line);
    std::string_view value = entry ? entry->value : std::string_view();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value.size() > MaxProfileValueLength;
}

} // namespace

Index::Index(std::string_view content) {
    auto lines = Lines(content);
    std::unordered_map<std::string, std::size_t> sectionNames; // lower case -> m_sections
    // Room for every line at once: growing the tables on the way rehashes them again and again.
    sectionNames.reserve(lines.size());
    m_keys.reserve(lines.size());
    // Where the entries of the current section go; none before the first section and in a
    // section whose name came before.
    constexpr std::size_t None = std::numeric_limits<std::size_t>::max();
    std::size_t visible = None;
    std::string hiddenSection; // the header of the hidden section the lines are in
    bool inHidden = false;
    for (auto& line : lines) {
        if (line.kind == NumberedLine::Kind::Section) {
            const auto [at, added] =
                sectionNames.try_emplace(LowerName(line.name), m_sections.size());
            inHidden = !added;
            if (added) {
                visible = m_sections.size();
                m_sections.push_back({line.name, {}});
            } else {
                visible = None;
                hiddenSection = line.name;
                m_repeats.push_back({line.number, line.name, {}, {}});
            }
            continue;
        }
        if (line.kind != NumberedLine::Kind::Entry)
            continue;
        if (inHidden) {
            m_repeats.push_back(
                {line.number, hiddenSection, std::move(line.name), std::move(line.value), true});
            continue;
        }
        if (visible == None)
            continue;
        Section& section = m_sections[visible];
        const auto [at, added] =
            m_keys.try_emplace(IndexKey(section.name, line.name),
                               Where{visible, section.entries.size(), IsCut(line.text)});
        if (added)
            section.entries.emplace_back(std::move(line.name), std::move(line.value));
        else
            m_repeats.push_back(
                {line.number, section.name, std::move(line.name), std::move(line.value)});
    }
}

const Index::Where* Index::Locate(std::string_view section, std::string_view key) const {
    const auto found = m_keys.find(IndexKey(section, key));
    return found == m_keys.end() ? nullptr : &found->second;
}

const std::string* Index::Find(std::string_view section, std::string_view key) const {
    const Where* where = Locate(section, key);
    return where ? &m_sections[where->section].entries[where->entry].second : nullptr;
}

std::optional<std::string> Index::FindValue(std::string_view section, std::string_view key) const {
    const std::string* value = Find(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

bool Index::Cut(std::string_view section, std::string_view key) const {
    const Where* where = Locate(section, key);
    return where && where->cut;
}

std::string SetValue(std::string_view content, std::string_view section, std::string_view key,
                     std::string_view value) {
    const auto lines = SplitLines(content);
    const auto where = Locate(content, lines, section, key);
    const std::string entry = std::string(Trim(key)) + "=" + std::string(value);
    std::string result;
    result.reserve(content.size() + entry.size() + section.size() + 8);

    if (where.keyLine) {
        const Line& line = lines[*where.keyLine];
        const auto oldKey = EntryOf(content.substr(line.begin, line.textEnd - line.begin))->key;
        result.append(content.substr(0, line.begin));
        result.append(oldKey).append("=").append(value);
        result.append(content.substr(line.textEnd));
        return result;
    }
    if (where.sectionFound) {
        const Line& after = lines[where.lastContentLine];
        result.append(content.substr(0, after.end));
        if (!after.terminated)
            result.append("\r\n");
        result.append(entry).append("\r\n");
        result.append(content.substr(after.end));
        return result;
    }
    result.append(content);
    if (!content.empty() && content.back() != '\n')
        result.append("\r\n");
    result.append("[").append(Trim(section)).append("]\r\n");
    result.append(entry).append("\r\n");
    return result;
}

std::string SetValues(std::string_view content, std::string_view section,
                      std::span<const KeyValue> entries) {
    const auto lines = SplitLines(content);
    // The lines of the first section of that name; its last non-blank line (its header at
    // least); and where each of its keys first appears.
    std::optional<std::size_t> header;
    std::size_t lastContentLine = 0;
    std::unordered_map<std::string, std::size_t> keyLines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto text = content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin);
        if (const auto name = SectionName(text)) {
            if (header)
                break;
            if (SameName(*name, Trim(section))) {
                header = i;
                lastContentLine = i;
            }
            continue;
        }
        if (!header)
            continue;
        if (!Trim(text).empty())
            lastContentLine = i;
        if (const auto entry = EntryOf(text))
            keyLines.try_emplace(LowerName(entry->key), i);
    }

    // Each key once, at its first write (whose spelling it keeps), with its last value: a key
    // written again is replaced where the first write put it.
    struct NewKey {
        std::size_t first; // the entry that names it
        std::size_t last;  // the entry whose value it gets
    };
    std::vector<std::size_t> replacedBy(lines.size(), entries.size()); // entries.size(): none
    std::vector<NewKey> appended;
    std::unordered_map<std::string, std::size_t> newKeys; // -> index into appended
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::string key = LowerName(Trim(entries[e].key));
        if (const auto at = keyLines.find(key); at != keyLines.end()) {
            replacedBy[at->second] = e;
        } else if (const auto earlier = newKeys.find(key); earlier != newKeys.end()) {
            appended[earlier->second].last = e;
        } else {
            newKeys.emplace(key, appended.size());
            appended.push_back({e, e});
        }
    }

    std::string result;
    std::size_t extra = section.size() + 8;
    for (const auto& entry : entries)
        extra += entry.key.size() + entry.value.size() + 3;
    result.reserve(content.size() + extra);
    const auto appendNew = [&] {
        for (const auto& key : appended) {
            result.append(Trim(entries[key.first].key)).append("=");
            result.append(entries[key.last].value).append("\r\n");
        }
    };
    if (!header) {
        result.append(content);
        if (appended.empty())
            return result;
        if (!content.empty() && content.back() != '\n')
            result.append("\r\n");
        result.append("[").append(Trim(section)).append("]\r\n");
        appendNew();
        return result;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (replacedBy[i] < entries.size()) {
            const auto oldKey = EntryOf(content.substr(line.begin, line.textEnd - line.begin))->key;
            result.append(oldKey).append("=").append(entries[replacedBy[i]].value);
            result.append(content.substr(line.textEnd, line.end - line.textEnd));
        } else {
            result.append(content.substr(line.begin, line.end - line.begin));
        }
        if (i == lastContentLine && !appended.empty()) {
            if (!line.terminated)
                result.append("\r\n");
            appendNew();
        }
    }
    return result;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal gives the 32-bit pattern, so $FFFFFFFF is -1.
        auto pattern = static_cast<std::uint32_t>(magnitude);
        if (negative)
            pattern = 0u - pattern;
        return static_cast<std::int32_t>(pattern);
    }
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (signedValue < std::numeric_limits<std::int32_t>::min() ||
        signedValue > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(signedValue);
}

} // namespace profile

std::string ProfileFile::ReadText(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    const auto content = ReadWholeFile(m_path);
    if (!content)
        return std::string(defaultValue);
    auto value = profile::FindValue(*content, section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
    const auto content = ReadWholeFile(m_path);
    if (!content)
        return defaultValue;
    const auto value = profile::FindValue(*content, section, key);
    if (!value)
        return defaultValue;
    return profile::ParseInteger(*value).value_or(defaultValue);
}

void ProfileFile::WriteText(std::string_view section, std::string_view key,
                            std::string_view value) const {
    // A line break inside a value would turn its tail into entries of their own.
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw WriteError(m_path);
    std::string content;
    if (FileExists(m_path)) {
        auto old = ReadWholeFile(m_path);
        if (!old)
            throw WriteError(m_path);
        content = std::move(*old);
    }
    if (!WriteFileAtomically(m_path, profile::SetValue(content, section, key, value)))
        throw WriteError(m_path);
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key,
                               std::int32_t value) const {
    WriteText(section, key, std::to_string(value));
}

bool ProfileFile::Exists() const {
    return FileExists(m_path);
}

bool ProfileFile::Delete() const {
    return DeleteFile(m_path);
}

} // namespace setfolio
