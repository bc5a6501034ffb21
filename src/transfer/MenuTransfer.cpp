#include "transfer/MenuTransfer.h"

#include "link/Exchange.h"
#include "platform/Prompts.h"

namespace setfolio {

void DownloadMenu(const TransferContext& context, TransferView&, int, const std::string&) {
    context.prompts.WarningBeep();
    context.prompts.ErrorBox("Downloads of this model's libraries are not available.");
    context.exchange.replyStatus = ReplyStatus::UnknownError;
}

void UploadMenu(const TransferContext& context, TransferView&, UploadState&, int,
                const std::string&, bool) {
    context.prompts.WarningBeep();
    context.prompts.ErrorBox("Uploads of this model's libraries are not available.");
    context.exchange.replyStatus = ReplyStatus::UnknownError;
}

} // namespace setfolio
