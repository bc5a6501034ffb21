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

TEST(Messages, EveryOwnMessageHasAllThreeLanguagesWithTheSamePlaces) {
    const auto places = [](std::string_view text) {
        std::size_t count = 0;
        for (auto at = text.find("{}"); at != std::string_view::npos; at = text.find("{}", at + 2))
            ++count;
        return count;
    };
    for (std::size_t id = 0; id < OwnMessageCount; ++id) {
        const auto english = OwnText(static_cast<OwnMsg>(id), Language::English);
        for (const auto language : {Language::English, Language::German, Language::French}) {
            const auto text = OwnText(static_cast<OwnMsg>(id), language);
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_EQ(places(text), places(english)) << id << ": " << text;
        }
    }
    MessageTexts texts;
    texts.Apply(Language::German);
    EXPECT_EQ(texts.Format(OwnMsg::LibraryPartlyWritten, {"9"}),
              "Bibliothek 9 ist nur teilweise geschrieben.");
    EXPECT_EQ(texts.Format(OwnMsg::FileHasNoModelNumber, {"{}.lvf"}),
              "{}.lvf hat keine Modellnummer.")
        << "an argument is put in as it is";
}

} // namespace
