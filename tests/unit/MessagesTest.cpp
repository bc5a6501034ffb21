#include "i18n/Messages.h"
#include "core/TextFormat.h"
#include "transfer/CurrentLibraryLine.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

using namespace setfolio;

namespace {

// How often a sentence shows each of its values: the same in every language, whatever the order.
std::vector<std::size_t> ValuesShown(std::string_view pattern) {
    const std::string text = FormatText(pattern, {"<0>", "<1>", "<2>", "<3>", "<4>", "<5>"});
    std::vector<std::size_t> shown;
    for (const std::string marker : {"<0>", "<1>", "<2>", "<3>", "<4>", "<5>"}) {
        std::size_t count = 0;
        for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 3))
            ++count;
        shown.push_back(count);
    }
    return shown;
}

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
    const auto places = ValuesShown;
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

TEST(TextFormat, PutsValuesWhereTheSentenceSays) {
    const auto named = [](std::string_view name) -> std::optional<std::string> {
        if (name == "MsgTo")
            return "to";
        return std::nullopt;
    };
    struct Case {
        std::string_view pattern;
        std::string expected;
    };
    const Case cases[] = {
        {"{} of {}", "a of b"},
        {"{1} von {0}", "b von a"}, // another language's order
        {"{0}{0}", "aa"},
        {"{}, {}, {}", "a, b, {}"}, // a place without a value stays
        {"{2}", "{2}"},
        {"{} {MsgTo} {}", "a to b"},
        {"{Unknown} {", "{Unknown} {"},
        {"{{}}", "{a}"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatText(c.pattern, {"a", "b"}, named), c.expected) << c.pattern;
    // A value is put in as it is, never read as a pattern.
    EXPECT_EQ(FormatText("{} {}", {"{1}", "{MsgTo}"}, named), "{1} {MsgTo}");
    EXPECT_EQ(Latin1ToUtf8("A\xe9\xff\x01"), "A\u00e9\u00ff\x01");
}

// The lines of the catalogue's messages, each composed as it always was: the message texts
// joined with " " or " - " around the values, in every language.
TEST(Messages, CatalogueLinesAreComposedExactlyAsBefore) {
    const std::string path = "C:\\Setfolio\\Line {} 005\xe4.lvf"; // bytes, and braces
    struct Case {
        const char* what;
        std::function<std::string(const MessageTexts&)> compose;
        std::array<std::string, LanguageCount> expected; // English, German, French
    };
    const std::vector<Case> cases{
        {"current library",
         [](const MessageTexts& t) { return *CurrentLibraryLine(ReplyStatus::Ok, 12, t); },
         {"Current library is 12.", "Aktuelle Bibliothek ist 12.",
          "La librairie actuelle est 12."}},
        {"current library unknown",
         [](const MessageTexts& t) {
             return *CurrentLibraryLine(ReplyStatus::NoConnection, 12, t);
         },
         {"Current library is ??? - no connection!",
          "Aktuelle Bibliothek ist ??? - kein Anschlu\xc3\x9f!",
          "La librairie actuelle est ??? - pas de connexion!"}},
        {"download complete",
         [&](const MessageTexts& t) {
             return t.Format(CatalogueLine::DownloadComplete, {"5", path});
         },
         {"Download of library 5 to C:\\Setfolio\\Line {} 005\xe4.lvf complete.",
          "Herunterladen der Bibliothek 5 nach C:\\Setfolio\\Line {} 005\xe4.lvf fertig.",
          "Sauvegarde de librairie 5 vers C:\\Setfolio\\Line {} 005\xe4.lvf fini."}},
        {"download failed",
         [](const MessageTexts& t) {
             return t.Format(CatalogueLine::DownloadFailed,
                             {t.StatusText(ReplyStatus::NoConnection)});
         },
         {"Download failed - no connection!",
          "Herunterladen nicht m\xc3\xb6glich - kein Anschlu\xc3\x9f!",
          "Sauvegarde non effectu\xc3\xa9"
          "e - pas de connexion!"}},
        {"upload complete",
         [&](const MessageTexts& t) {
             return t.Format(CatalogueLine::UploadComplete, {path, "12"});
         },
         {"Upload of C:\\Setfolio\\Line {} 005\xe4.lvf to library 12 complete.",
          "Laden von C:\\Setfolio\\Line {} 005\xe4.lvf nach Bibliothek 12 fertig.",
          "Chargement de C:\\Setfolio\\Line {} 005\xe4.lvf vers librairie 12 fini."}},
        {"upload failed at a parameter",
         [](const MessageTexts& t) {
             return t.Format(CatalogueLine::UploadFailedAt, {"MeasUnits"});
         },
         {"Upload failed - transaction error!  ...MeasUnits",
          "Laden nicht erfolgt - \xc3\x9c"
          "bertragungsfehler!  ...MeasUnits",
          "Chargement non effectu\xc3\xa9 - erreur d'op\xc3\xa9ration!  ...MeasUnits"}},
        {"upload failed",
         [](const MessageTexts& t) {
             return t.Format(CatalogueLine::UploadFailed, {t.StatusText(ReplyStatus::RunMode)});
         },
         {"Upload failed - processor is in RUN mode!",
          "Laden nicht erfolgt - Prozessor l\xc3\xa4uft!",
          "Chargement non effectu\xc3\xa9 - le processeur est en mode ACTIF!"}},
        {"upload refused",
         [&](const MessageTexts& t) {
             return t.Format(CatalogueLine::UploadFailed,
                             {t.Format(OwnMsg::FileHoldsOtherModel, {path, "M-12", "C-12"})});
         },
         {"Upload failed - C:\\Setfolio\\Line {} 005\xe4.lvf holds a library of model M-12, "
          "the processor is a C-12.",
          "Laden nicht erfolgt - C:\\Setfolio\\Line {} 005\xe4.lvf enth\xc3\xa4lt eine "
          "Bibliothek des Modells M-12, der Prozessor ist ein C-12.",
          "Chargement non effectu\xc3\xa9 - C:\\Setfolio\\Line {} 005\xe4.lvf contient une "
          "librairie du mod\xc3\xa8le M-12, le processeur est un C-12."}},
        {"upload file missing",
         [&](const MessageTexts& t) { return t.Format(CatalogueLine::UploadFileMissing, {path}); },
         {"Upload failed - C:\\Setfolio\\Line {} 005\xe4.lvf does not exist!",
          "Laden nicht erfolgt - C:\\Setfolio\\Line {} 005\xe4.lvf existiert nicht!",
          "Chargement non effectu\xc3\xa9 - C:\\Setfolio\\Line {} 005\xe4.lvf n'existe pas!"}},
        {"calibration question",
         [](const MessageTexts& t) { return t.Format(CatalogueLine::CalibrationQuestion, {}); },
         {"Warning - Current Calibration, Linearization, and Jog Values will be replaced!!! Are "
          "you sure you want to proceed?",
          "Achtung - Aktuelle Kalibrierung, Linearisierung und Jog-Werte werden ersetzt!!! Sind "
          "Sie sicher, da\xc3\x9f Sie fortfahren wollen?",
          "Attention - les valeurs actuelles d'\xc3\xa9talonnage, lin\xc3\xa9"
          "arisation et test "
          "r\xc3\xa9gulation seront remplac\xc3\xa9"
          "es!!! Etes-vous s\xc3\xbbr de vouloir "
          "continuer?"}},
    };
    ASSERT_EQ(cases.size(), CatalogueLineCount + 1); // every line, and a refusal inside one
    for (const auto language : {Language::English, Language::German, Language::French}) {
        MessageTexts texts;
        texts.Apply(language);
        for (const auto& c : cases)
            EXPECT_EQ(c.compose(texts), c.expected[static_cast<std::size_t>(language)])
                << c.what << " in language " << static_cast<int>(language);
    }
}

TEST(Messages, CatalogueLinesNameOnlyTheCatalogueMessagesAndKeepTheirValues) {
    const auto values = ValuesShown;
    for (std::size_t id = 0; id < CatalogueLineCount; ++id) {
        const auto line = static_cast<CatalogueLine>(id);
        for (const auto language : {Language::English, Language::German, Language::French}) {
            const auto pattern = CatalogueLinePattern(line, language);
            EXPECT_EQ(values(pattern), values(CatalogueLinePattern(line, Language::English)))
                << pattern;
            // Every message named is one of the catalogue's: none is left in the line.
            MessageTexts texts;
            texts.Apply(language);
            EXPECT_EQ(texts.Format(line, {"", "", ""}).find("{Msg"), std::string::npos) << pattern;
        }
    }
}

} // namespace
