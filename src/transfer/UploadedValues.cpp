#include "transfer/UploadedValues.h"

#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "library/LibraryDecoder.h"

namespace setfolio {

namespace {

class Writer {
public:
    explicit Writer(std::string_view content) : m_content(content) {}

    template <typename Row>
    void Rows(const ParmTable<Row>& list, const char* section, std::string_view defaultValue) {
        if (list.Count() == 0)
            return;
        m_text += std::string("[") + section + "]\r\n";
        for (const auto& row : list.Rows()) {
            const auto value = profile::FindValue(m_content, section, row.name);
            m_text += row.name + "=" + value.value_or(std::string(defaultValue)) + "\r\n";
        }
    }

    // A dump section goes as the file has it: its first "Lines" lines.
    void Dump(const char* section) {
        const auto lines =
            profile::ParseInteger(profile::FindValue(m_content, section, "Lines").value_or("0"))
                .value_or(0);
        m_text += std::string("[") + section + "]\r\nLines=" + std::to_string(lines) + "\r\n";
        for (std::int32_t k = 1; k <= lines; ++k) {
            const auto key = std::to_string(k);
            m_text +=
                key + "=" + profile::FindValue(m_content, section, key).value_or(" ") + "\r\n";
        }
    }

    std::string m_text;

private:
    std::string_view m_content;
};

} // namespace

std::string UploadedValues(std::string_view content, std::int32_t fileModelType,
                           std::int32_t processorModel, bool globals, bool calibration) {
    Writer writer(content);
    writer.m_text = "[SystemSettings]\r\nModelNo=" + std::to_string(processorModel) + "\r\n";
    switch (FamilyOf(processorModel)) {
    case ModelFamily::CodedFamily: {
        const ParameterTables tables = TablesOf(fileModelType);
        writer.Rows(tables.MnemonicList, "MnemonicParms", "00");
        writer.Rows(tables.CondMnemonicList, "CondMnemonicParms", "00");
        writer.Rows(tables.NumericList, "NumericParms", "0");
        writer.Rows(tables.HeaderList, "HeaderParms", "");
        break;
    }
    case ModelFamily::MenuFamily: {
        const ParameterTables tables = TablesOf(fileModelType);
        writer.Rows(tables.LibraryParmList, "LibraryParms", "0");
        if (globals)
            writer.Rows(tables.GlobalParmList, "GlobalParms", "0");
        break;
    }
    case ModelFamily::BenchFamily:
        if (calibration)
            writer.Dump("Common");
        writer.Dump("User");
        break;
    case ModelFamily::NoFamily:
        break;
    }
    return writer.m_text;
}

} // namespace setfolio
