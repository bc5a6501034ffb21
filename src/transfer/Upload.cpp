#include "transfer/Upload.h"

#include "core/AtomicFile.h"
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
#include "transfer/Download.h"
#include "transfer/MenuTransfer.h"
#include "transfer/NumberedNames.h"
#include "transfer/TransferView.h"

#include <optional>

namespace setfolio {

namespace {

constexpr int PacedUploadPauseMs = 200;

class CodedUpload {
public:
    CodedUpload(const TransferContext& context, TransferView& view, UploadState& state,
                std::string content)
        : m_context(context), m_exchange(context.exchange), m_view(view), m_state(state),
          m_content(std::move(content)), m_paced(PacedUpload(context.model.ModelType())) {}

    std::string Value(std::string_view section, const std::string& name,
                      std::string_view defaultValue) const {
        auto value = profile::FindValue(m_content, section, name);
        return value ? std::move(*value) : std::string(defaultValue);
    }

    // Sends one set command; the progress moves whatever the reply.
    void Send(const std::string& name, const std::string& command) {
        m_state.lastParameterName = name;
        m_exchange.SendAndWait(command + "\r");
        m_view.SetPosition(++m_sent);
        if (m_paced)
            m_view.Pause(PacedUploadPauseMs);
    }

    bool Ok() const { return m_exchange.replyStatus == ReplyStatus::Ok; }

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
    std::string m_content;
    bool m_paced;
    int m_sent = 0;
};

} // namespace

void UploadFrom(const TransferContext& context, const UploadState& state, const std::string& path,
                const std::function<void(const std::string&)>& body) {
    Exchange& exchange = context.exchange;
    try {
        const auto content = FileExists(path) ? ReadWholeFile(path) : std::nullopt;
        if (!content)
            exchange.replyStatus = ReplyStatus::FileError;
        else
            body(*content);
    } catch (const TcpError&) {
        exchange.replyStatus = ReplyStatus::NoConnection;
    } catch (const PortError&) {
        exchange.replyStatus = ReplyStatus::NoConnection;
    }
    ReportUploadResult(context, state, exchange.currentLibrary, path);
}

void UploadCoded(const TransferContext& context, TransferView& view, UploadState& state,
                 int library, const std::string& path) {
    UploadFrom(context, state, path, [&](const std::string& content) {
        Exchange& exchange = context.exchange;
        AssembleParameterTables(context.tables, context.model, state.fileModelType);
        exchange.currentLibrary = library;
        exchange.SendAndWait("700 " + FormatLibraryNumber(library) + "\r");
        if (context.model.SlowLibrarySwitch() && exchange.replyStatus == ReplyStatus::Ok)
            RequeryAfterSlowSwitch(exchange, [&view](bool on) { view.SetEnabled(on); });
        if (exchange.replyStatus == ReplyStatus::Ok) {
            const ParameterTables& tables = context.tables;
            view.SetTransferMode(true, tables.MnemonicCount() + tables.CondMnemonicCount() +
                                           tables.NumericCount() + tables.HeaderCount());
            CodedUpload(context, view, state, content).Passes();
        }
    });
}

void ReportUploadResult(const TransferContext& context, const UploadState& state, int library,
                        const std::string& path) {
    const MessageTexts& texts = context.texts;
    const ReplyStatus status = context.exchange.replyStatus;
    if (status == ReplyStatus::Ok) {
        context.log.AddMessageLine(texts.Text(MsgId::MsgUploadOf) + " " + path + " " +
                                   texts.Text(MsgId::MsgToLibrary) + " " + std::to_string(library) +
                                   " " + texts.Text(MsgId::MsgComplete));
        return;
    }
    context.prompts.WarningBeep();
    const std::string failed = texts.Text(MsgId::MsgUploadFailed) + " - ";
    switch (status) {
    case ReplyStatus::TransactionError:
        context.log.AddMessageLine(
            failed + texts.Text(MsgId::MsgTransactionError) +
            (state.lastParameterName.empty() ? "" : "  ..." + state.lastParameterName));
        return;
    case ReplyStatus::FileError:
        context.log.AddMessageLine(failed + path + " " + texts.Text(MsgId::MsgDoesNotExist));
        return;
    case ReplyStatus::Aborted:
        context.log.AddMessageLine(texts.Text(MsgId::MsgUploadAborted));
        return;
    case ReplyStatus::ValueError:
        return;
    default:
        if (const auto text = texts.StatusText(status); !text.empty())
            context.log.AddMessageLine(failed + text);
        return;
    }
}

void RunUpload(const TransferContext& context, TransferView& view, UploadState& state,
               const UploadRequest& request) {
    const MessageTexts& texts = context.texts;
    if (request.fileName.empty() || request.fileName == "*.lvf") {
        context.prompts.WarningBeep();
        context.prompts.ErrorBox(texts.Text(MsgId::MsgSelectFileToLoad));
        view.KeepOpen();
        return;
    }
    const ModelFamily family = context.model.Family();
    // The bench question: calibration data is replaced only when the user says so.
    const auto confirmed = [&] {
        if (family != ModelFamily::BenchFamily || !request.includeCalibration)
            return true;
        context.prompts.WarningBeep();
        if (context.prompts.WarningYesNo(texts.Text(MsgId::MsgCalibrationWarning) + " " +
                                         texts.Text(MsgId::MsgConfirmProceed)))
            return true;
        view.KeepOpen();
        return false;
    };
    const auto engine = [&](int library, const std::string& path) {
        switch (family) {
        case ModelFamily::CodedFamily:
            UploadCoded(context, view, state, library, path);
            break;
        case ModelFamily::MenuFamily:
            UploadMenu(context, view, state, library, path, library == request.first);
            break;
        case ModelFamily::BenchFamily:
            UploadBench(context, view, state, library, path, request.includeCalibration);
            break;
        case ModelFamily::NoFamily:
            break;
        }
    };
    if (!request.block) {
        if (confirmed())
            engine(request.first, request.fileName);
        return;
    }
    const auto series = ParseBlockFileName(request.fileName);
    if (!series) {
        context.prompts.WarningBeep();
        context.prompts.ErrorBox(texts.Text(MsgId::MsgInvalidBlockFilename));
        view.KeepOpen();
        return;
    }
    for (int library = request.first; library <= request.last; ++library) {
        if (library == request.first && !confirmed())
            return;
        engine(library, series->FileFor(library - request.first));
        if (context.exchange.replyStatus != ReplyStatus::Ok)
            return;
        if (family == ModelFamily::BenchFamily)
            view.Pause(BenchBlockPauseMs);
    }
}

} // namespace setfolio
