#include "i18n/Messages.h"
#include "transfer/CurrentLibraryLine.h"

#include <gtest/gtest.h>

using namespace setfolio;

namespace {

TEST(Messages, EnglishUntilALanguageIsApplied) {
    MessageTexts texts;
    EXPECT_EQ(texts.Text(MsgId::MsgCurrentLibraryIs), "Current library is");
    EXPECT_EQ(texts.Text(MsgId::MsgConfirmProceed), "Are you sure you want to proceed?");
    texts.Apply(Language::French);
    EXPECT_EQ(texts.Text(MsgId::MsgCurrentLibraryIs), "La librairie actuelle est");
    EXPECT_EQ(texts.Text(MsgId::MsgNoConnection), "pas de connexion!");
    texts.Apply(Language::German);
    EXPECT_EQ(texts.Text(MsgId::MsgRunMode), "Prozessor l\u00e4uft!");
}

TEST(Messages, OnlyFailuresOfTheProcessorHaveAStatusText) {
    const MessageTexts texts;
    for (int value = 0; value <= 16; ++value) {
        const auto status = static_cast<ReplyStatus>(value);
        const bool hasText = value >= 2 && value != 8 && value != 15 && value != 16;
        EXPECT_EQ(!texts.StatusText(status).empty(), hasText) << NameOf(status);
    }
    EXPECT_EQ(texts.StatusText(ReplyStatus::ControlOrSpcOn), "CTL and/or SPC On!");
}

TEST(CurrentLibraryLine, ReportsEveryOutcome) {
    MessageTexts texts;
    EXPECT_EQ(CurrentLibraryLine(ReplyStatus::Ok, 12, texts), "Current library is 12.");
    EXPECT_EQ(CurrentLibraryLine(ReplyStatus::NoConnection, 12, texts),
              "Current library is ??? - no connection!");
    EXPECT_EQ(CurrentLibraryLine(ReplyStatus::InvalidAction, 3, texts),
              "Current library is ??? - invalid action!");
    EXPECT_EQ(CurrentLibraryLine(ReplyStatus::PortOff, 3, texts),
              "Please select a valid COM port!");
    for (const auto silent : {ReplyStatus::Pending, ReplyStatus::Aborted, ReplyStatus::FileError})
        EXPECT_EQ(CurrentLibraryLine(silent, 3, texts), std::nullopt);
    texts.Apply(Language::French);
    EXPECT_EQ(CurrentLibraryLine(ReplyStatus::Ok, 7, texts), "La librairie actuelle est 7.");
}

} // namespace
