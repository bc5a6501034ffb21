#include "transfer/UploadedValues.h"

#include "core/ProfileFile.h"
#include "library/LibraryDecoder.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace setfolio {

namespace {

// What the rows of a section hold.
enum class Kind { Choice, Text };

// One value an upload sends: its section and key, the value, and whether the file holds more of
// it than a read gives.
struct Sent {
    std::string_view section;
    const std::string& name;
    const std::string& value;
    Kind kind;
    bool cut;
};

using SectionStart = std::function<void(std::string_view, std::optional<std::int32_t>)>;

// Walks what an upload of a file sends, section by section: `section` is told of each section
// that has something to send (and of a dump's count of lines), `value` of each value.
class SentValues {
public:
    SentValues(std::string_view content, SectionStart section,
               std::function<void(const Sent&)> value, bool storedOnly = false)
        : m_file(content), m_section(std::move(section)), m_value(std::move(value)),
          m_storedOnly(storedOnly),
          m_fileLines(std::count(content.begin(), content.end(), '\n') + 1) {}

    void Walk(std::int32_t fileModelType, ModelFamily family, bool globals, bool calibration) {
        switch (family) {
        case ModelFamily::CodedFamily: {
            const ParameterTables tables = TablesOf(fileModelType);
            Rows(tables.MnemonicList, "MnemonicParms", "00", Kind::Choice);
            Rows(tables.CondMnemonicList, "CondMnemonicParms", "00", Kind::Choice);
            Rows(tables.NumericList, "NumericParms", "0", Kind::Text);
            Rows(tables.HeaderList, "HeaderParms", "", Kind::Text);
            break;
        }
        case ModelFamily::MenuFamily: {
            const ParameterTables tables = TablesOf(fileModelType);
            Rows(tables.LibraryParmList, "LibraryParms", "0", Kind::Text);
            if (globals)
                Rows(tables.GlobalParmList, "GlobalParms", "0", Kind::Text);
            break;
        }
        case ModelFamily::BenchFamily:
            if (calibration)
                Dump("Common");
            Dump("User");
            break;
        case ModelFamily::NoFamily:
            break;
        }
    }

private:
    template <typename Row>
    void Rows(const ParmTable<Row>& list, std::string_view section, const std::string& defaultValue,
              Kind kind) {
        if (list.Count() == 0)
            return;
        m_section(section, std::nullopt);
        for (const auto& row : list.Rows()) {
            const std::string* value = m_file.Find(section, row.name);
            m_value({section, row.name, value ? *value : defaultValue, kind,
                     m_file.Cut(section, row.name)});
        }
    }

    // A dump section goes as the file has it: its first "Lines" lines, a blank for one it lacks.
    // With `m_storedOnly`, the lines a file cannot hold (one a line) are left out: a count that
    // says more would cost a walk over every line it claims.
    void Dump(std::string_view section) {
        const std::string* count = m_file.Find(section, "Lines");
        const auto lines = count ? profile::ParseInteger(*count).value_or(0) : 0;
        m_section(section, lines);
        const std::string blank = " ";
        const auto last = m_storedOnly ? std::min<std::int64_t>(lines, m_fileLines) : lines;
        for (std::int32_t k = 1; k <= last; ++k) {
            const std::string key = std::to_string(k);
            const std::string* value = m_file.Find(section, key);
            m_value({section, key, value ? *value : blank, Kind::Text, m_file.Cut(section, key)});
        }
    }

    profile::Index m_file;
    SectionStart m_section;
    std::function<void(const Sent&)> m_value;
    bool m_storedOnly;
    std::int64_t m_fileLines;
};

bool IsChoiceNumber(const std::string& value) {
    return !value.empty() && value.size() <= 3 &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A byte that a processor takes as the end of a command or as no text: a line break, NUL, ACK,
// NAK and the rest below the blank, and DEL. A tab is text: some of the processors' own texts
// hold one.
bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

} // namespace

std::string UploadedValues(std::string_view content, std::int32_t fileModelType,
                           std::int32_t processorModel, bool globals, bool calibration) {
    std::string text = "[SystemSettings]\r\nModelNo=" + std::to_string(processorModel) + "\r\n";
    const auto section = [&text](std::string_view name, std::optional<std::int32_t> lines) {
        text += "[" + std::string(name) + "]\r\n";
        if (lines)
            text += "Lines=" + std::to_string(*lines) + "\r\n";
    };
    const auto value = [&text](const Sent& sent) { text += sent.name + "=" + sent.value + "\r\n"; };
    SentValues(content, section, value)
        .Walk(fileModelType, FamilyOf(processorModel), globals, calibration);
    return text;
}

std::vector<UnsendableValue> UnsendableValues(std::string_view content, std::int32_t fileModelType,
                                              ModelFamily family, bool globals, bool calibration) {
    std::vector<UnsendableValue> unsendable;
    const auto value = [&unsendable](const Sent& sent) {
        using Why = UnsendableValue::Why;
        std::optional<Why> why;
        if (sent.cut)
            why = Why::TooLong;
        else if (std::any_of(sent.value.begin(), sent.value.end(), IsControlByte))
            why = Why::ControlByte;
        else if (sent.kind == Kind::Choice && !IsChoiceNumber(sent.value))
            why = Why::NotAChoiceNumber;
        if (why)
            unsendable.push_back({std::string(sent.section), sent.name, *why});
    };
    SentValues(
        content, [](std::string_view, std::optional<std::int32_t>) {}, value, true)
        .Walk(fileModelType, family, globals, calibration);
    return unsendable;
}

} // namespace setfolio
