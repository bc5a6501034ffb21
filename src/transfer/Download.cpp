#include "transfer/Download.h"

#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "tables/Assembly.h"
#include "transfer/BenchTransfer.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/LibraryFile.h"
#include "transfer/MenuTransfer.h"
#include "transfer/NumberedNames.h"
#include "transfer/TransferView.h"

#include <optional>
#include <span>

namespace setfolio {

namespace {

constexpr std::string_view Placeholder = "*.lvf";

bool IsMetres(const std::string& text) {
    return text == "METRES  " || text == "METRES ";
}
bool IsMeters(const std::string& text) {
    return text == "METERS  " || text == "METERS ";
}

// The position of the processor's text in a vocabulary: the exact text, or METERS for METRES.
std::optional<int> PositionIn(const TvvValues& vocabulary, const std::string& value) {
    const auto count = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(vocabulary.count, 0)), vocabulary.values.size());
    for (std::size_t j = 0; j < count; ++j) {
        const auto& entry = vocabulary.values[j];
        if (entry == value || (IsMeters(entry) && IsMetres(value)))
            return static_cast<int>(j);
    }
    return std::nullopt;
}

// SPC channels whose reports are set to "none" on the processor before the conditional pass
// reads them, per model type.
std::span<const char* const> SpcChannels(std::int32_t modelType) {
    static constexpr const char* SixChannels[] = {"A", "B", "C", "D", "E", "F"};
    static constexpr const char* FourChannels[] = {"A", "B", "C", "D"};
    static constexpr const char* ThreeChannels[] = {"A", "B", "C"};
    switch (modelType) {
    case 0:
    case 1:
    case 2:
    case 8:
    case 9:
        return SixChannels;
    case 35:
        return FourChannels;
    case 41:
        return ThreeChannels;
    default:
        return {};
    }
}

class CodedDownload {
public:
    CodedDownload(const TransferContext& context, TransferView& view, LibraryFileDraft& file)
        : m_context(context), m_exchange(context.exchange), m_view(view), m_file(file) {}

    bool Ok() const { return m_exchange.replyStatus == ReplyStatus::Ok; }

    void Written() { m_view.SetPosition(++m_written); }

    void MnemonicPass() {
        const bool type41 = m_context.model.ModelType() == 41;
        for (const auto& row : m_context.tables.MnemonicList.Rows()) {
            if (!Ok())
                return;
            m_exchange.SendAndWait("4" + row.code + "\r");
            if (Ok()) {
                const std::string& value = m_exchange.mnemonicValue;
                std::optional<int> position;
                if (value == "DISABLED")
                    position = 0;
                else
                    position = PositionIn(row.values, value);
                if (position) {
                    m_file.WriteText("MnemonicParms", row.name, FormatValueIndex(*position));
                    Written();
                } else {
                    m_exchange.replyStatus = ReplyStatus::ValueError;
                }
            }
            // This model may lack the second alarm dimension; it is then stored as its first
            // choice and the download goes on.
            if (type41 && row.name == "AlarmDim2" && !Ok()) {
                m_file.WriteText("MnemonicParms", "AlarmDim2", "00");
                Written();
                m_exchange.replyStatus = ReplyStatus::Ok;
            }
        }
    }

    void NormaliseSpcReports() {
        for (const char* channel : SpcChannels(m_context.model.ModelType())) {
            if (!Ok())
                return;
            const std::string name = std::string(channel);
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
            m_exchange.SendAndWait("4" + row.code + "\r");
            if (!Ok())
                return;
            // The choice of the source parameter, as this download (or the existing file) has
            // it, decides which texts apply. One outside the row's sets cannot be matched.
            const auto stored =
                profile::ParseInteger(m_file.ReadText("MnemonicParms", row.source, "00"));
            const auto sets = std::min<std::size_t>(
                static_cast<std::size_t>(std::max(row.count, 0)), row.valueSets.size());
            if (!stored || *stored < 0 || static_cast<std::size_t>(*stored) >= sets) {
                m_exchange.replyStatus = ReplyStatus::ValueError;
                return;
            }
            const auto position = PositionIn(row.valueSets[static_cast<std::size_t>(*stored)],
                                             m_exchange.mnemonicValue);
            if (!position) {
                m_exchange.replyStatus = ReplyStatus::ValueError;
                return;
            }
            m_file.WriteText("CondMnemonicParms", row.name, FormatValueIndex(*position));
            Written();
        }
    }

    void NumericPass() {
        for (const auto& row : m_context.tables.NumericList.Rows()) {
            if (!Ok())
                return;
            m_exchange.SendAndWait("3" + row.code + "\r");
            if (Ok()) {
                m_file.WriteText("NumericParms", row.name, m_exchange.numericValue);
                Written();
            }
        }
    }

    void HeaderPass() {
        for (const auto& row : m_context.tables.HeaderList.Rows()) {
            if (!Ok())
                return;
            m_exchange.SendAndWait("6" + row.code1 + "\r");
            if (Ok()) {
                m_file.WriteText("HeaderParms", row.name, m_exchange.headerValue);
                Written();
            }
        }
    }

private:
    const TransferContext& m_context;
    Exchange& m_exchange;
    TransferView& m_view;
    LibraryFileDraft& m_file;
    int m_written = 0;
};

int CodedRowCount(const ParameterTables& tables) {
    return tables.MnemonicCount() + tables.CondMnemonicCount() + tables.NumericCount() +
           tables.HeaderCount();
}

} // namespace

void ReportFileError(const TransferContext& context, TransferView& view) {
    context.prompts.WarningBeep();
    context.prompts.ErrorBox(context.texts.Text(MsgId::MsgEnterValidFilename));
    view.KeepOpen();
    context.exchange.replyStatus = ReplyStatus::FileError;
}

void DownloadInto(const TransferContext& context, TransferView& view, const std::string& path,
                  const std::function<void(LibraryFileDraft&)>& body) {
    Exchange& exchange = context.exchange;
    std::optional<LibraryFileDraft> file;
    try {
        file.emplace(path);
        file->WriteInteger("SystemSettings", "ModelNo", context.model.ModelType());
        body(*file);
    } catch (const TcpError&) {
        // The connection went away: an ordinary failure of this library.
        exchange.replyStatus = ReplyStatus::NoConnection;
    } catch (const PortError&) {
        exchange.replyStatus = ReplyStatus::NoConnection;
    } catch (const std::exception&) {
        ReportFileError(context, view);
        return;
    }
    try {
        ReportDownloadResult(context, view, exchange.currentLibrary, *file);
    } catch (const WriteError&) {
        ReportFileError(context, view);
    }
}

void DownloadCoded(const TransferContext& context, TransferView& view, int library,
                   const std::string& path) {
    DownloadInto(context, view, path, [&](LibraryFileDraft& file) {
        Exchange& exchange = context.exchange;
        AssembleParameterTables(context.tables, context.model, context.model.ModelType());

        exchange.currentLibrary = library;
        exchange.SendAndWait("700 " + FormatLibraryNumber(library) + "\r");
        if (context.model.SlowLibrarySwitch() && exchange.replyStatus == ReplyStatus::Ok)
            RequeryAfterSlowSwitch(exchange, [&view](bool on) { view.SetEnabled(on); });
        if (exchange.replyStatus == ReplyStatus::Ok)
            view.SetTransferMode(true, CodedRowCount(context.tables));

        CodedDownload download(context, view, file);
        download.MnemonicPass();
        download.NormaliseSpcReports();
        download.ConditionalPass();
        download.NumericPass();
        download.HeaderPass();
    });
}

void ReportDownloadResult(const TransferContext& context, TransferView& view, int library,
                          LibraryFileDraft& file) {
    const Exchange& exchange = context.exchange;
    const MessageTexts& texts = context.texts;
    const ReplyStatus status = exchange.replyStatus;
    if (status == ReplyStatus::Ok) {
        file.Commit();
        context.log.AddMessageLine(texts.Text(MsgId::MsgDownloadOfLibrary) + " " +
                                   std::to_string(library) + " " + texts.Text(MsgId::MsgTo) + " " +
                                   file.Path() + " " + texts.Text(MsgId::MsgComplete));
        return;
    }
    // The working copy is dropped: an earlier file stays as it was.
    view.Pause(ReportPauseMs);
    context.prompts.WarningBeep();
    if (const auto statusText = texts.StatusText(status); !statusText.empty())
        context.log.AddMessageLine(texts.Text(MsgId::MsgDownloadFailed) + " - " + statusText);
    else if (status == ReplyStatus::Aborted)
        context.log.AddMessageLine(texts.Text(MsgId::MsgDownloadAborted));
    if (context.model.Family() == ModelFamily::CodedFamily)
        context.log.AddMessageLine(exchange.lastReply);
}

void RunDownload(const TransferContext& context, TransferView& view,
                 const DownloadRequest& request) {
    if (request.fileName.empty() || request.fileName == Placeholder) {
        // No file chosen: refused before anything is sent.
        ReportFileError(context, view);
        return;
    }
    const auto engine = [&](int library, const std::string& path) {
        switch (context.model.Family()) {
        case ModelFamily::CodedFamily:
            DownloadCoded(context, view, library, path);
            break;
        case ModelFamily::MenuFamily:
            DownloadMenu(context, view, library, path);
            break;
        case ModelFamily::BenchFamily:
            DownloadBench(context, view, library, path);
            break;
        case ModelFamily::NoFamily:
            break;
        }
    };
    if (!request.block) {
        engine(request.first, request.fileName);
        return;
    }
    for (int library = request.first; library <= request.last; ++library) {
        engine(library, InsertLibraryNumber(request.fileName, library));
        if (context.exchange.replyStatus != ReplyStatus::Ok)
            return;
        if (context.model.Family() == ModelFamily::BenchFamily)
            view.Pause(BenchBlockPauseMs);
    }
}

} // namespace setfolio
