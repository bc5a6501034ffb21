// What the user sees when a processor says no in the middle of a transfer: the failure line names
// the reason, and no library file is lost.
#include "SimWorld.h"
#include "core/ModelCatalogue.h"
#include "i18n/Messages.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace setfolio;
using setfolio::testing::SimWorld;

namespace {

// Every way a processor of each family can say no, in the middle of a download and an upload:
// the failure line names the reason, and no file is written.
TEST(TransferFaults, RefusalsOfEveryKindGiveTheirFailureLine) {
    struct Refusal {
        const char* model;
        const char* command;
        const char* rule;
        ReplyStatus status;
    };
    const Refusal refusals[] = {
        {"C-12", "download", "refuse 401 N00", ReplyStatus::TransactionError},
        {"C-12", "download", "refuse 401 N12", ReplyStatus::RunMode},
        {"C-12", "download", "refuse 401 N98", ReplyStatus::CommunicationError},
        {"C-12", "upload", "refuse 2 N12", ReplyStatus::RunMode},
        {"M-12", "download", "refuse 2.1.1.2 1", ReplyStatus::InvalidCommand},
        {"M-12", "download", "refuse 2.1.1.2 2", ReplyStatus::InvalidSource},
        {"M-12", "download", "refuse 2.1.1.2 3", ReplyStatus::InvalidValue},
        {"M-12", "download", "refuse 2.1.1.2 4", ReplyStatus::InvalidAction},
        {"M-12", "download", "refuse 2.1.1.2 5", ReplyStatus::ControlOrSpcOn},
        {"M-12", "upload", "refuse 2. 3", ReplyStatus::InvalidValue},
        {"B-01", "download", "refuse SYST.LIBRARY.COMMON? NAK", ReplyStatus::CommandFailed},
        {"B-01", "upload", "refuse #USER NAK", ReplyStatus::CommandFailed},
    };
    const MessageTexts texts;
    for (const auto& [model, command, rule, status] : refusals) {
        SimWorld world(ModelNamed(model).value());
        const std::string path = world.Path("Line.lvf");
        const bool upload = std::string_view(command) == "upload";
        // A library of the processor's own, downloaded before the refusals start.
        if (upload) {
            ASSERT_TRUE(world.Download(path, 5)) << rule;
        }
        const std::string before = upload ? world.folder.Read("Line.lvf") : "";
        world.SetFaults(rule);
        const std::size_t shown = world.Lines().size();
        if (upload)
            world.Upload(path, 5);
        else
            world.Download(path, 5);
        const std::string expected =
            texts.Text(upload ? MsgId::MsgUploadFailed : MsgId::MsgDownloadFailed) + " - " +
            texts.StatusText(status);
        ASSERT_GT(world.Lines().size(), shown) << rule;
        EXPECT_TRUE(world.Lines()[shown].starts_with(expected))
            << rule << ": " << world.Lines()[shown];
        if (upload)
            EXPECT_EQ(world.folder.Read("Line.lvf"), before) << rule;
        else
            EXPECT_FALSE(std::filesystem::exists(path)) << rule;
    }
}

} // namespace
