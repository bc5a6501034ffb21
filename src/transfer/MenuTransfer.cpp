#include "transfer/MenuTransfer.h"

#include "core/AtomicFile.h"
#include "core/CurrentModel.h"
#include "core/ProfileFile.h"
#include "library/LibraryFile.h"
#include "link/Exchange.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "tables/Assembly.h"
#include "transfer/DownloadFrame.h"
#include "transfer/TransferView.h"

#include <functional>
#include <optional>

namespace setfolio {

namespace {

bool Accepted(char c) {
    return c == ' ' || c == '#' || c == ',' || c == '/' || c == '_' || (c >= '0' && c <= '9') ||
           (c >= 'A' && c <= 'Z');
}

// One parameter command with one retry: a refused or unanswered command is sent once more after
// the processor has been asked for its library. `work` runs for an accepted command.
void Exchange1(Exchange& exchange, ExchangeStep step, const std::string& command,
               const std::function<void()>& work) {
    exchange.SendAndWait(command, step);
    if (exchange.replyStatus() == ReplyStatus::Ok)
        work();
    if (exchange.replyStatus() == ReplyStatus::Ok || exchange.replyStatus() == ReplyStatus::Aborted)
        return;
    exchange.QueryLibrary();
    exchange.SendAndWait(command, step);
    if (exchange.replyStatus() == ReplyStatus::Ok)
        work();
}

} // namespace

std::string FilterMenuText(const std::string& value) {
    for (const char c : value) {
        if (!Accepted(c))
            return {};
    }
    return value;
}

void DownloadMenu(const TransferContext& context, TransferView& view, int library,
                  const std::string& path) {
    DownloadInto(context, view, library, path, [&](LibraryFileDraft& file) {
        Exchange& exchange = context.exchange;
        AssembleParameterTables(context.tables, context.model, context.model.ModelType());
        exchange.SelectForTransfer(library);
        const ParameterTables& tables = context.tables;
        if (exchange.replyStatus() == ReplyStatus::Ok)
            view.SetTransferMode(true, tables.LibraryParmCount() + tables.GlobalParmCount());
        int done = 0;
        const auto pass = [&](const ParmTable<TdpParm>& list, const char* section, bool filter) {
            for (const auto& row : list.Rows()) {
                if (exchange.replyStatus() != ReplyStatus::Ok)
                    return;
                Exchange1(exchange, ExchangeStep::StepQueryAcknowledge, row.menuPath + " ?\r", [&] {
                    const bool textField = row.name == "Heading" || row.name == "ProductID";
                    file.WriteText(section, row.name,
                                   filter && textField ? FilterMenuText(exchange.menuValue())
                                                       : exchange.menuValue());
                    view.SetPosition(++done);
                });
            }
        };
        pass(tables.LibraryParmList, "LibraryParms", true);
        pass(tables.GlobalParmList, "GlobalParms", false);
    });
}

void UploadMenu(const TransferContext& context, TransferView& view, UploadState& state, int library,
                const std::string& path, bool firstOfRun) {
    UploadFrom(context, state, library, path, [&](const std::string& content) {
        Exchange& exchange = context.exchange;
        AssembleParameterTables(context.tables, context.model, state.fileModelType);
        exchange.SelectForTransfer(library);
        const ParameterTables& tables = context.tables;
        if (exchange.replyStatus() == ReplyStatus::Ok) {
            // The processor-wide values go with the first library of a run only.
            view.SetTransferMode(true, tables.LibraryParmCount() +
                                           (firstOfRun ? tables.GlobalParmCount() : 0));
        }
        int done = 0;
        const auto pass = [&](const ParmTable<TdpParm>& list, const char* section) {
            for (const auto& row : list.Rows()) {
                if (exchange.replyStatus() != ReplyStatus::Ok)
                    return;
                const auto stored = profile::FindValue(content, section, row.name);
                state.lastParameterName = row.name;
                Exchange1(exchange, ExchangeStep::StepSetAcknowledge,
                          row.menuPath + " " + stored.value_or("0") + "\r", [&] {
                              state.libraryTouched = true;
                              view.SetPosition(++done);
                          });
            }
        };
        if (firstOfRun)
            pass(tables.GlobalParmList, "GlobalParms");
        pass(tables.LibraryParmList, "LibraryParms");
    });
}

} // namespace setfolio
