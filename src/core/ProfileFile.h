#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace setfolio {

// Why a file is not written: it cannot be, or it is protected against writing.
enum class WriteRefusal { CannotWrite, WriteProtected };

// Raised when a profile file cannot be written; the text is the one the user sees.
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const std::string& path, WriteRefusal why = WriteRefusal::CannotWrite)
        : std::runtime_error("Unable to write to " + path), m_path(path), m_why(why) {}
    const std::string& Path() const { return m_path; }
    WriteRefusal Why() const { return m_why; }

private:
    std::string m_path;
    WriteRefusal m_why;
};

// Longest value a read hands back, in bytes.
inline constexpr std::size_t MaxProfileValueLength = 2047;

// The profile ("INI") text format with the classic Windows semantics, on text held in memory:
// section and key names match without regard to ASCII letter case, blanks around a value are not
// part of it, a value in double quotes is read without them, and reads are capped.
namespace profile {

// Section and key names are the same when they differ in ASCII letter case at most.
bool SameName(std::string_view a, std::string_view b);

std::optional<std::string> FindValue(std::string_view content, std::string_view section,
                                     std::string_view key);

// Returns `content` with the key set: an existing key's line is replaced in place, a missing key
// goes after the last line of its section, a missing section goes at the end. New lines end in
// CR LF; every byte this does not need to change stays as it was.
std::string SetValue(std::string_view content, std::string_view section, std::string_view key,
                     std::string_view value);

// One section as a reader sees it: its keys in file order, each with the value FindValue gives.
// A section or key that comes again under the same name (letter case aside) is hidden behind
// the first, as it is for every reader.
struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};
std::vector<Section> Sections(std::string_view content);

// A line that no reader sees because its name came before: a section header whose name an
// earlier section has (`key` empty), a key that comes again in its section, or a key of such a
// hidden section. `section` is the section's name as this line's section header writes it.
struct Repeat {
    int line = 0;
    std::string section;
    std::string key;
    std::string value;              // as FindValue would give it
    bool inRepeatedSection = false; // a key of a hidden section
};

// A profile read once for a reader that looks up many keys: each lookup costs the same however
// large the file, and answers as FindValue does.
class Index {
public:
    explicit Index(std::string_view content);

    // The value FindValue gives, or nothing.
    const std::string* Find(std::string_view section, std::string_view key) const;
    std::optional<std::string> FindValue(std::string_view section, std::string_view key) const;
    // Whether the key's value is longer than a read hands back, so that a reader gets it cut.
    bool Cut(std::string_view section, std::string_view key) const;

    const std::vector<Section>& Sections() const& { return m_sections; }
    std::vector<Section> Sections() && { return std::move(m_sections); }
    // In file order.
    const std::vector<Repeat>& Repeats() const { return m_repeats; }

private:
    struct Where {
        std::size_t section = 0;
        std::size_t entry = 0;
        bool cut = false;
    };
    const Where* Locate(std::string_view section, std::string_view key) const;

    std::vector<Section> m_sections;
    std::vector<Repeat> m_repeats;
    std::unordered_map<std::string, Where> m_keys; // section and key in lower case
};

// Every line of a profile as a reader takes it, numbered from 1, for a reader that tells where
// something stands: a section's header, a key and its value (as FindValue gives it), a comment
// (";"), a blank line, or other text, which no reader sees. Unlike Sections, it hides nothing:
// a section or key that comes again is listed again.
struct NumberedLine {
    enum class Kind { Blank, Comment, Section, Entry, Other };
    int number = 0;
    Kind kind = Kind::Blank;
    std::string_view text; // the line in `content`, without its line end
    std::string name;      // of the section, or the key
    std::string value;     // of the key
};
std::vector<NumberedLine> Lines(std::string_view content);

struct KeyValue {
    std::string key;
    std::string value;
};

// Returns `content` as SetValue for each entry in turn would, but in one pass over the text, so
// that writing a whole section costs as much as writing it once.
std::string SetValues(std::string_view content, std::string_view section,
                      std::span<const KeyValue> entries);

// Decimal, or hexadecimal after "0x", "0X" or "$", with an optional sign; nothing else.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace profile

// One profile file on disk. Every call opens the file, does its one read or write and closes it
// again, so a write is visible to every later read. Writes are atomic.
class ProfileFile {
public:
    explicit ProfileFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    std::string ReadText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Throw WriteError when the file cannot be written (or the value would not fit on one line);
    // the file is then left exactly as it was.
    void WriteText(std::string_view section, std::string_view key, std::string_view value) const;
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value) const;

    bool Exists() const;
    bool Delete() const;

private:
    std::string m_path;
};

} // namespace setfolio
