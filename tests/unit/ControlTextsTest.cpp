#include "AppWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

using Texts = std::vector<std::string>;

TextTargets& WindowOf(Application& app, TextWindow window) {
    switch (window) {
    case TextWindow::MainForm:
        return app.mainForm;
    case TextWindow::DownLoadForm:
        return app.downLoadForm;
    case TextWindow::UpLoadForm:
        return app.upLoadForm;
    case TextWindow::ChangeLibForm:
        return app.changeLibForm;
    case TextWindow::SerialForm:
        return app.serialForm;
    case TextWindow::LanguageForm:
        return app.languageForm;
    case TextWindow::Messages:
        break;
    }
    throw std::logic_error("messages are no window");
}

std::vector<TextEntry> ControlEntries() {
    std::vector<TextEntry> entries;
    for (const auto& entry : TextCatalogue())
        if (entry.window != TextWindow::Messages)
            entries.push_back(entry);
    return entries;
}

std::string Describe(const TextEntry& entry) {
    return std::to_string(static_cast<int>(entry.window)) + " " + std::string(entry.target) +
           " property " + std::to_string(static_cast<int>(entry.property));
}

// What every control entry's target holds now, in catalogue order ("<none>" for a target the
// window does not have).
Texts Snapshot(Application& app) {
    Texts texts;
    for (const auto& entry : ControlEntries())
        texts.push_back(
            WindowOf(app, entry.window).Text(entry.target, entry.property).value_or("<none>"));
    return texts;
}

// As the language dialog's OK does it.
void ChooseLanguage(Application& app, Language language) {
    app.languageForm.NameLanguageList();
    app.languageForm.LanguageComboBox.Mark(static_cast<int>(language));
    app.languageForm.OKBtnClick();
}

std::string WithoutMarks(std::string text) {
    std::erase(text, '&');
    return text;
}

Texts MenuCaptions(const MainForm& form) {
    Texts captions;
    for (const Control* item :
         {&form.MenuMain, &form.MenuDownLoad, &form.MenuUpLoad, &form.MenuLibrary,
          &form.MenuComPort, &form.MenuLanguage, &form.MenuExit, &form.MenuAbout})
        captions.push_back(item->caption);
    return captions;
}

const Texts DesignedMenu{"&Menu",          "&DownLoad", "&UpLoad", "&Library",
                         "Communications", "Lan&guage", "E&xit",   "&About"};

TEST(ControlTexts, EveryEntryReachesItsTargetAfterEachLanguageOfARun) {
    const std::vector<std::vector<Language>> runs{
        {Language::English},
        {Language::German},
        {Language::French},
        {Language::French, Language::German, Language::English, Language::French},
    };
    for (const auto& run : runs) {
        AppWorld world;
        for (const Language language : run) {
            SCOPED_TRACE(static_cast<int>(language));
            ChooseLanguage(world.app, language);
            for (const auto& entry : ControlEntries()) {
                const auto shown =
                    WindowOf(world.app, entry.window).Text(entry.target, entry.property);
                ASSERT_TRUE(shown.has_value()) << "no target for " << Describe(entry);
                EXPECT_EQ(*shown, entry.texts[static_cast<std::size_t>(language)])
                    << Describe(entry);
            }
        }
    }
}

TEST(ControlTexts, DesignedTextsAreTheEnglishOnesWithTheMenuMarks) {
    AppWorld world;
    const Texts designed = Snapshot(world.app);
    const auto entries = ControlEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(WithoutMarks(designed[i]), entries[i].texts[0]) << Describe(entries[i]);
    EXPECT_EQ(MenuCaptions(world.app.mainForm), DesignedMenu);

    ChooseLanguage(world.app, Language::English);
    for (const auto& text : Snapshot(world.app))
        EXPECT_EQ(text.find('&'), std::string::npos) << text;
}

TEST(ControlTexts, EnglishGermanEnglishLeavesTheMenuWithoutMarks) {
    AppWorld world;
    for (const Language language : {Language::English, Language::German, Language::English})
        ChooseLanguage(world.app, language);
    EXPECT_EQ(MenuCaptions(world.app.mainForm),
              (Texts{"Menu", "DownLoad", "UpLoad", "Library", "Communications", "Language", "Exit",
                     "About"}));
}

TEST(ControlTexts, EveryParityLineStaysMarkedAndIsStoredByTheNextOk) {
    const std::map<Language, Texts> lines{
        {Language::English, {"none", "odd", "even"}},
        {Language::German, {"keine", "ungerade", "gerade"}},
        {Language::French, {"aucun", "impair", "pair"}},
    };
    for (int parity = 0; parity < 3; ++parity) {
        for (const auto& [language, expected] : lines) {
            SCOPED_TRACE(std::to_string(parity) + " in " +
                         std::to_string(static_cast<int>(language)));
            AppWorld world;
            world.app.settings.Write(keys::ComPort, 0);
            world.app.settings.Write(keys::Parity, parity);
            world.Start(); // applies the stored English and loads the parity
            ChooseLanguage(world.app, language);
            auto& list = world.app.serialForm.ParityComboBox;
            EXPECT_EQ(list.items, expected);
            EXPECT_EQ(list.marked, parity);
            world.app.settings.Write(keys::Parity, -1);
            world.app.serialForm.OKBtnClick();
            EXPECT_EQ(world.app.settings.Read(keys::Parity), parity);
        }
    }
}

TEST(ControlTexts, FrenchCancelAndFirstLibraryHints) {
    AppWorld world;
    ChooseLanguage(world.app, Language::French);
    EXPECT_EQ(world.app.languageForm.CancelBtn.caption, "Annuler");
    EXPECT_EQ(world.app.upLoadForm.LibrarySpinEdit.hint,
              "S\u00e9lectionner la premi\u00e8re librairie #");
    EXPECT_EQ(world.app.upLoadForm.openDialogTitle, "S\u00e9lectionner fichier \u00e0 charger");
    EXPECT_EQ(world.app.downLoadForm.saveDialogTitle, "Sauver librairie sous");
}

// Starts that apply no language leave every control with its designed text.
TEST(ControlTexts, StartsWithoutALanguageKeepTheDesignedTexts) {
    struct Case {
        const char* name;
        std::function<void(AppWorld&)> prepare;
    };
    const std::vector<Case> cases{
        {"first start, dialog cancelled",
         [](AppWorld& world) {
             world.dialogs.onLanguage = [&world] { world.app.languageForm.CancelBtnClick(); };
         }},
        {"stored language outside the list",
         [](AppWorld& world) { world.app.settings.Write(keys::Language, 3); }},
        {"first start, OK with no line marked",
         [](AppWorld& world) {
             world.dialogs.onLanguage = [&world] {
                 world.app.languageForm.LanguageComboBox.Mark(-1);
                 world.app.languageForm.OKBtnClick();
             };
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        AppWorld world;
        const Texts designed = Snapshot(world.app);
        test.prepare(world);
        world.Start();
        EXPECT_EQ(Snapshot(world.app), designed);
        EXPECT_EQ(MenuCaptions(world.app.mainForm), DesignedMenu);
        EXPECT_EQ(world.app.localisation.Messages().Text(MsgId::MsgCurrentLibraryIs),
                  "Current library is");
    }
}

TEST(ControlTexts, AWindowHasNoTextForAForeignTargetOrProperty) {
    AppWorld world;
    struct Case {
        TextWindow window;
        const char* target;
        TextProperty property;
    };
    const std::vector<Case> cases{
        {TextWindow::MainForm, "OKBtn", TextProperty::Caption},
        {TextWindow::MainForm, "MenuMain", TextProperty::ListLine0},
        {TextWindow::DownLoadForm, "UpDialog", TextProperty::DialogTitle},
        {TextWindow::DownLoadForm, "DownDialog", TextProperty::Caption},
        {TextWindow::DownLoadForm, "FileName", TextProperty::Caption},
        {TextWindow::UpLoadForm, "ModelNumber", TextProperty::Caption},
        {TextWindow::ChangeLibForm, "TChangeLibForm", TextProperty::Caption},
        {TextWindow::SerialForm, "BaudRateComboBox", TextProperty::ListLine0},
        {TextWindow::SerialForm, "ParityComboBox", TextProperty::Caption},
        {TextWindow::LanguageForm, "LanguageComboBox", TextProperty::ListLine0},
    };
    for (const auto& test : cases) {
        auto& window = WindowOf(world.app, test.window);
        EXPECT_FALSE(window.Text(test.target, test.property).has_value()) << test.target;
        // Setting it changes none of the window's texts.
        const Texts before = Snapshot(world.app);
        window.SetText(test.target, test.property, "stray");
        EXPECT_EQ(Snapshot(world.app), before) << test.target;
    }
    // The file shown and the chosen file's model do not follow the language.
    ChooseLanguage(world.app, Language::German);
    EXPECT_EQ(world.app.downLoadForm.FileName.caption, "*.lvf");
    EXPECT_EQ(world.app.upLoadForm.ModelNumber.caption, "???");
}

TEST(TextCatalogue, ControlTextsComeWindowByWindowWithoutRepeats) {
    const std::vector<TextWindow> order{TextWindow::MainForm,   TextWindow::DownLoadForm,
                                        TextWindow::UpLoadForm, TextWindow::ChangeLibForm,
                                        TextWindow::SerialForm, TextWindow::LanguageForm};
    std::vector<TextWindow> seen;
    std::set<std::tuple<TextWindow, std::string_view, TextProperty>> targets;
    for (const auto& entry : ControlEntries()) {
        if (seen.empty() || seen.back() != entry.window)
            seen.push_back(entry.window);
        EXPECT_TRUE(targets.emplace(entry.window, entry.target, entry.property).second)
            << "twice: " << Describe(entry);
        EXPECT_NE(entry.property, TextProperty::Message) << Describe(entry);
    }
    EXPECT_EQ(seen, order);
}

// Texts of the catalogue at their places: the first and the last of each window and those with
// letters beyond ASCII at the start, in the middle and at the end.
TEST(TextCatalogue, EntriesAtTheirPlaces) {
    struct Row {
        std::size_t index;
        TextWindow window;
        const char* target;
        TextProperty property;
        Texts texts;
    };
    using enum TextWindow;
    using enum TextProperty;
    const std::vector<Row> rows{
        {28, MainForm, "MenuMain", Caption, {"Menu", "Men\u00fc", "Menu"}},
        {35, MainForm, "MenuAbout", Caption, {"About", "\u00dcber die", "A propos"}},
        {39,
         MainForm,
         "ComBtn",
         Hint,
         {"Click to change communications settings",
          "Klicken zum \u00c4ndern der ComPort-Einstellungen",
          "Cliquer pour changer la configuration du Port Com"}},
        {43, MainForm, "MessageLabel", Caption, {"Messages:", "Nachrichten:", "Messages:"}},
        {44,
         DownLoadForm,
         "TDownLoadForm",
         WindowCaption,
         {"Download To File", "Herunterladen in die Datei", "Sauver vers fichier"}},
        {59,
         DownLoadForm,
         "CancelBtn",
         Hint,
         {"Click to exit without downloading", "Abbruch mit Exit ohne herunterzuladen",
          "Cliquer pour sortir sans sauver"}},
        {60,
         UpLoadForm,
         "TUpLoadForm",
         WindowCaption,
         {"Upload From File", "Laden von Datei", "Charger depuis fichier"}},
        {64,
         UpLoadForm,
         "IncludeCommonCB",
         Caption,
         {"Include Cal data", "Cal-Daten einschlie\u00dfen", "Inclure les valeurs de cal"}},
        {74,
         UpLoadForm,
         "ToLibrarySpinEdit",
         Hint,
         {"Select last library #", "Letzte Bibliothek # ausw\u00e4hlen",
          "Choisir pour s\u00e9lectionner un bloc de librairies"}},
        {78,
         UpLoadForm,
         "CancelBtn",
         Hint,
         {"Click to exit without uploading", "Abbruch mit Exit ohne zu laden",
          "Cliquer pour sortir sans charger"}},
        {79,
         ChangeLibForm,
         "TChangeLibForm",
         WindowCaption,
         {"Change Library", "Wechseln der Bibliothek", "Changer Librairie"}},
        {85,
         ChangeLibForm,
         "CancelBtn",
         Hint,
         {"Click to exit without changing library", "Abbruch mit Exit ohne Wechsel der Bibliothek",
          "Cliquer pour sortir sans changer de librairie"}},
        {86,
         SerialForm,
         "TSerialForm",
         WindowCaption,
         {"Configure Communications", "Konfigurieren des ComPort", "Configurer le Port Com"}},
        {90, SerialForm, "ParityComboBox", ListLine0, {"none", "keine", "aucun"}},
        {98,
         SerialForm,
         "CancelBtn",
         Hint,
         {"Click to exit without changing settings", "Mit Exit keine \u00c4nderung",
          "Cliquer pour sortir sans changer les r\u00e9glages"}},
        {99,
         LanguageForm,
         "TLanguageForm",
         WindowCaption,
         {"Select Language", "Auswahl Sprache", "S\u00e9lectionner la langue"}},
        {104,
         LanguageForm,
         "CancelBtn",
         Hint,
         {"Click to exit without changing language", "Mit Exit keine andere Sprache",
          "Cliquer pour sortir sans changer de langue"}},
    };
    const auto catalogue = TextCatalogue();
    for (const auto& row : rows) {
        ASSERT_LT(row.index, catalogue.size());
        const auto& entry = catalogue[row.index];
        EXPECT_EQ(entry.window, row.window) << row.index;
        EXPECT_EQ(entry.target, row.target) << row.index;
        EXPECT_EQ(entry.property, row.property) << row.index;
        EXPECT_EQ(Texts(entry.texts.begin(), entry.texts.end()), row.texts) << row.index;
    }
}

// The catalogue is UTF-8 and uses no letters beyond ASCII but those of German and French.
TEST(TextCatalogue, LettersBeyondAsciiAreTheLanguagesOwn) {
    const std::set<char32_t> allowed{U'\u00c4', U'\u00dc', U'\u00df', U'\u00e0',
                                     U'\u00e4', U'\u00e7', U'\u00e8', U'\u00e9',
                                     U'\u00ea', U'\u00f6', U'\u00fb', U'\u00fc'};
    std::set<char32_t> used;
    for (const auto& entry : TextCatalogue()) {
        for (const auto text : entry.texts) {
            for (std::size_t i = 0; i < text.size();) {
                const auto lead = static_cast<unsigned char>(text[i]);
                if (lead < 0x80) {
                    EXPECT_GE(lead, 0x20) << entry.target; // no control characters
                    ++i;
                    continue;
                }
                // Two-byte sequences cover every letter the languages need.
                ASSERT_EQ(lead & 0xe0, 0xc0) << entry.target;
                ASSERT_LT(i + 1, text.size()) << entry.target;
                const auto follow = static_cast<unsigned char>(text[i + 1]);
                ASSERT_EQ(follow & 0xc0, 0x80) << entry.target;
                const char32_t letter = ((lead & 0x1fu) << 6) | (follow & 0x3fu);
                EXPECT_TRUE(allowed.contains(letter))
                    << entry.target << " U+" << std::hex << static_cast<unsigned>(letter);
                used.insert(letter);
                i += 2;
            }
        }
    }
    EXPECT_FALSE(used.empty());
}

} // namespace
