#include "transfer/CodedTransfer.h"

#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "i18n/Messages.h"
#include "library/LibraryFile.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "tables/Assembly.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/DownloadFrame.h"
#include "transfer/SiteTexts.h"
#include "transfer/TransferView.h"
#include "transfer/UploadFrame.h"

#include <optional>

namespace setfolio {

namespace {

bool IsMetres(const std::string& text) {
    return text == "METRES  " || text == "METRES ";
}
bool IsMeters(const std::string& text) {
    return text == "METERS  " || text == "METERS ";
}

bool SameChoice(const std::string& entry, const std::string& value) {
    return entry == value || (IsMeters(entry) && IsMetres(value));
}

std::size_t ChoiceCount(const TvvValues& vocabulary) {
    return std::min<std::size_t>(static_cast<std::size_t>(std::max(vocabulary.count, 0)),
                                 vocabulary.values.size());
}

// The position of the processor's text in a vocabulary: the exact text, or METERS for METRES.
std::optional<int> PositionIn(const TvvValues& vocabulary, const std::string& value) {
    for (std::size_t j = 0; j < ChoiceCount(vocabulary); ++j) {
        if (SameChoice(vocabulary.values[j], value))
            return static_cast<int>(j);
    }
    return std::nullopt;
}

// The choice a file being downloaded into holds already, when its text is the processor's: of
// several choices with the same text ("N/A " thrice) the processor's reply cannot tell which one
// it holds, and the file keeps its own.
std::optional<int> KeptPosition(const TvvValues& vocabulary, const std::string& stored,
                                const std::string& value) {
    const auto index = profile::ParseInteger(stored);
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= ChoiceCount(vocabulary) ||
        !SameChoice(vocabulary.values[static_cast<std::size_t>(*index)], value))
        return std::nullopt;
    return static_cast<int>(*index);
}

// The SPC channels, in the order the processor numbers them.
constexpr std::string_view SpcChannelNames = "ABCDEF";

class CodedDownload {
public:
    CodedDownload(const TransferContext& context, TransferView& view, LibraryFileDraft& file,
                  std::optional<std::string>& why)
        : m_context(context), m_exchange(context.exchange), m_view(view), m_file(file), m_why(why) {
    }

    bool Ok() const { return m_exchange.replyStatus() == ReplyStatus::Ok; }

    void Written() { m_view.SetPosition(++m_written); }

    // The value a query's reply carried; nothing when it failed. A reply that is Ok without the
    // value asked for answered another question: the step ends UnknownError, as for a reply of
    // no grammar, rather than store a value that belongs to no row.
    const std::string* Value(const Reply& reply, const std::optional<std::string>& value) {
        if (!reply.Ok())
            return nullptr;
        if (!value) {
            m_exchange.Fail(ReplyStatus::UnknownError);
            return nullptr;
        }
        return &*value;
    }

    void MnemonicPass() {
        const bool optionalAlarmDim2 = m_context.model.Quirks().optionalSecondAlarmDimension;
        for (const auto& row : m_context.tables.MnemonicList.Rows()) {
            if (!Ok())
                return;
            const Reply reply = m_exchange.SendAndWait("4" + row.code + "\r");
            if (const std::string* value = Value(reply, reply.mnemonic)) {
                std::optional<int> position =
                    KeptPosition(row.values, m_file.EarlierText("MnemonicParms", row.name), *value);
                if (!position && *value == "DISABLED")
                    position = 0;
                else if (!position)
                    position = PositionIn(row.values, *value);
                if (position) {
                    m_file.WriteText("MnemonicParms", row.name, FormatValueIndex(*position));
                    Written();
                } else {
                    NotAChoice(row.name, *value, row.values);
                }
            }
            if (optionalAlarmDim2 && row.name == "AlarmDim2" && !Ok()) {
                m_file.WriteText("MnemonicParms", "AlarmDim2", "00");
                Written();
                m_exchange.Accept();
                m_why.reset();
            }
        }
    }

    void NormaliseSpcReports() {
        const auto channels = static_cast<std::size_t>(m_context.model.Quirks().spcChannels);
        for (const char channel : SpcChannelNames.substr(0, channels)) {
            if (!Ok())
                return;
            const std::string name(1, channel);
            if (m_file.ReadText("MnemonicParms", name + "SpcSource", "00") != "00")
                continue;
            for (const auto& row : m_context.tables.CondMnemonicList.Rows()) {
                if (row.name == name + "SpcReports") {
                    m_exchange.SendAndWait("2" + row.code + " 00\r");
                    break;
                }
            }
        }
    }

    void ConditionalPass() {
        for (const auto& row : m_context.tables.CondMnemonicList.Rows()) {
            if (!Ok())
                return;
            const Reply reply = m_exchange.SendAndWait("4" + row.code + "\r");
            const std::string* value = Value(reply, reply.mnemonic);
            if (!value)
                return;
            // The choice of the source parameter, as this download (or the existing file) has
            // it, decides which texts apply. One outside the row's sets cannot be matched.
            const auto stored =
                profile::ParseInteger(m_file.ReadText("MnemonicParms", row.source, "00"));
            const auto sets = std::min<std::size_t>(
                static_cast<std::size_t>(std::max(row.count, 0)), row.valueSets.size());
            if (!stored || *stored < 0 || static_cast<std::size_t>(*stored) >= sets) {
                m_exchange.Fail(ReplyStatus::ValueError);
                m_why = m_context.texts.Format(OwnMsg::ValueSourceOutside,
                                               {row.name, row.source,
                                                m_file.ReadText("MnemonicParms", row.source, "00"),
                                                std::to_string(sets)});
                return;
            }
            const auto& set = row.valueSets[static_cast<std::size_t>(*stored)];
            auto position =
                KeptPosition(set, m_file.EarlierText("CondMnemonicParms", row.name), *value);
            if (!position)
                position = PositionIn(set, *value);
            if (!position) {
                NotAChoice(row.name, *value, set);
                return;
            }
            m_file.WriteText("CondMnemonicParms", row.name, FormatValueIndex(*position));
            Written();
        }
    }

    // The processor's text matches none of the row's choices: the download ends, and the user
    // is told which row, what the processor showed (quoted, blanks and all) and how many choices
    // there were.
    void NotAChoice(const std::string& name, const std::string& text, const TvvValues& values) {
        m_exchange.Fail(ReplyStatus::ValueError);
        m_why = m_context.texts.Format(OwnMsg::ValueNotAChoice,
                                       {name, text, std::to_string(std::max(values.count, 0))});
    }

    void NumericPass() {
        for (const auto& row : m_context.tables.NumericList.Rows()) {
            if (!Ok())
                return;
            const Reply reply = m_exchange.SendAndWait("3" + row.code + "\r");
            if (const std::string* value = Value(reply, reply.numeric)) {
                m_file.WriteText("NumericParms", row.name, *value);
                Written();
            }
        }
    }

    void HeaderPass() {
        for (const auto& row : m_context.tables.HeaderList.Rows()) {
            if (!Ok())
                return;
            const Reply reply = m_exchange.SendAndWait("6" + row.code1 + "\r");
            if (const std::string* value = Value(reply, reply.header)) {
                m_file.WriteText("HeaderParms", row.name, *value);
                Written();
            }
        }
    }

private:
    const TransferContext& m_context;
    Exchange& m_exchange;
    TransferView& m_view;
    LibraryFileDraft& m_file;
    std::optional<std::string>& m_why;
    int m_written = 0;
};

int CodedRowCount(const ParameterTables& tables) {
    return tables.MnemonicCount() + tables.CondMnemonicCount() + tables.NumericCount() +
           tables.HeaderCount();
}

} // namespace

namespace {

constexpr int PacedUploadPauseMs = 200;

class CodedUpload {
public:
    CodedUpload(const TransferContext& context, TransferView& view, UploadState& state,
                std::string_view content)
        : m_context(context), m_exchange(context.exchange), m_view(view), m_state(state),
          m_file(content), m_paced(PacedUpload(context.model.ModelType())) {}

    std::string Value(std::string_view section, const std::string& name,
                      std::string_view defaultValue) const {
        const std::string* value = m_file.Find(section, name);
        return value ? *value : std::string(defaultValue);
    }

    // Sends one set command; the progress moves whatever the reply.
    void Send(const std::string& name, const std::string& command) {
        m_state.lastParameterName = name;
        if (m_exchange.SendAndWait(command + "\r").Ok())
            m_state.libraryTouched = true;
        m_view.SetPosition(++m_sent);
        if (m_paced)
            m_view.Pause(PacedUploadPauseMs);
    }

    bool Ok() const { return m_exchange.replyStatus() == ReplyStatus::Ok; }

    void Passes() {
        const ParameterTables& tables = m_context.tables;
        for (const auto& row : tables.MnemonicList.Rows()) {
            if (!Ok())
                return;
            Send(row.name, "2" + row.code + " " + Value("MnemonicParms", row.name, "00"));
        }
        for (const auto& row : tables.CondMnemonicList.Rows()) {
            if (!Ok())
                return;
            Send(row.name, "2" + row.code + " " + Value("CondMnemonicParms", row.name, "00"));
        }
        for (const auto& row : tables.NumericList.Rows()) {
            if (!Ok())
                return;
            Send(row.name, "1" + row.code + " " + Value("NumericParms", row.name, "0"));
        }
        for (const auto& row : tables.HeaderList.Rows()) {
            if (!Ok())
                return;
            // Paced models expect a blank between the code and the header text.
            Send(row.name,
                 "6" + row.code2 + (m_paced ? " " : "") + Value("HeaderParms", row.name, ""));
        }
    }

private:
    const TransferContext& m_context;
    Exchange& m_exchange;
    TransferView& m_view;
    UploadState& m_state;
    profile::Index m_file;
    bool m_paced;
    int m_sent = 0;
};

} // namespace

void DownloadCoded(const TransferContext& context, TransferView& view, int library,
                   const std::string& path) {
    std::optional<std::string> why;
    DownloadInto(context, view, library, path, [&](LibraryFileDraft& file) {
        Exchange& exchange = context.exchange;
        AssembleParameterTables(context.tables, context.model, context.model.ModelType());
        ReportRefusals(context.texts, context.tables.siteUse, context.log);

        Reply selected = exchange.SelectForTransfer(library);
        if (context.model.SlowLibrarySwitch() && selected.Ok())
            selected = RequeryAfterSlowSwitch(exchange, [&view](bool on) { view.SetEnabled(on); });
        if (selected.Ok())
            view.SetTransferMode(true, CodedRowCount(context.tables));

        CodedDownload download(context, view, file, why);
        download.MnemonicPass();
        download.NormaliseSpcReports();
        download.ConditionalPass();
        download.NumericPass();
        download.HeaderPass();
    });
    if (why && context.exchange.replyStatus() == ReplyStatus::ValueError)
        context.log.AddMessageLine(*why);
}

void UploadCoded(const TransferContext& context, TransferView& view, UploadState& state,
                 int library, const std::string& path) {
    UploadFrom(context, state, library, path, [&](const std::string& content) {
        Exchange& exchange = context.exchange;
        AssembleParameterTables(context.tables, context.model, state.fileModelType);
        ReportRefusals(context.texts, context.tables.siteUse, context.log);
        Reply selected = exchange.SelectForTransfer(library);
        if (context.model.SlowLibrarySwitch() && selected.Ok())
            selected = RequeryAfterSlowSwitch(exchange, [&view](bool on) { view.SetEnabled(on); });
        if (selected.Ok()) {
            const ParameterTables& tables = context.tables;
            view.SetTransferMode(true, tables.MnemonicCount() + tables.CondMnemonicCount() +
                                           tables.NumericCount() + tables.HeaderCount());
            CodedUpload(context, view, state, content).Passes();
        }
    });
}

} // namespace setfolio
