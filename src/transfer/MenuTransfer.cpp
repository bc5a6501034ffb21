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
// the processor has been asked for its library. `work` runs with the reply of an accepted
// command.
void Exchange1(Exchange& exchange, ExchangeStep step, const std::string& command,
               const std::function<void(const Reply&)>& work) {
    const Reply first = exchange.SendAndWait(command, step);
    if (first.Ok())
        work(first);
    if (first.Ok() || first.status == ReplyStatus::Aborted)
        return;
    exchange.QueryLibrary();
    const Reply second = exchange.SendAndWait(command, step);
    if (second.Ok())
        work(second);
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
        const ParameterTables& tables = context.tables;
        if (exchange.SelectForTransfer(library).Ok())
            view.SetTransferMode(true, tables.LibraryParmCount() + tables.GlobalParmCount());
        int done = 0;
        const auto pass = [&](const ParmTable<TdpParm>& list, const char* section, bool filter) {
            for (const auto& row : list.Rows()) {
                if (exchange.replyStatus() != ReplyStatus::Ok)
                    return;
                Exchange1(exchange, ExchangeStep::StepQueryAcknowledge, row.menuPath + " ?\r",
                          [&](const Reply& reply) {
                              if (!reply.menu) {
                                  // Ok without a value line: no answer to this query.
                                  exchange.Fail(ReplyStatus::UnknownError);
                                  return;
                              }
                              const std::string& value = *reply.menu;
                              const bool textField =
                                  row.name == "Heading" || row.name == "ProductID";
                              file.WriteText(section, row.name,
                                             filter && textField ? FilterMenuText(value) : value);
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
        const ParameterTables& tables = context.tables;
        const profile::Index file(content);
        if (exchange.SelectForTransfer(library).Ok()) {
            // The processor-wide values go with the first library of a run only.
            view.SetTransferMode(true, tables.LibraryParmCount() +
                                           (firstOfRun ? tables.GlobalParmCount() : 0));
        }
        int done = 0;
        const auto pass = [&](const ParmTable<TdpParm>& list, const char* section) {
            for (const auto& row : list.Rows()) {
                if (exchange.replyStatus() != ReplyStatus::Ok)
                    return;
                const auto stored = file.FindValue(section, row.name);
                state.lastParameterName = row.name;
                Exchange1(exchange, ExchangeStep::StepSetAcknowledge,
                          row.menuPath + " " + stored.value_or("0") + "\r", [&](const Reply&) {
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
