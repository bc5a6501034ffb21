#pragma once

#include <array>
#include <span>
#include <string_view>

namespace setfolio {

enum class Language { English = 0, German = 1, French = 2 };
inline constexpr int LanguageCount = 3;

// The language's ISO 639 code ("en", "de", "fr"), by which the toolkit finds its own texts and
// its way of writing dates.
constexpr std::string_view LanguageCode(Language language) {
    return language == Language::German ? "de" : language == Language::French ? "fr" : "en";
}

// Whose text an entry sets: the message texts, or a control of one of the windows.
enum class TextWindow {
    Messages,
    MainForm,
    DownLoadForm,
    UpLoadForm,
    ChangeLibForm,
    SerialForm,
    LanguageForm
};

enum class TextProperty {
    Message,
    Caption,
    Hint,
    WindowCaption,
    DialogTitle,
    ListLine0,
    ListLine1,
    ListLine2
};

struct TextEntry {
    TextWindow window;
    std::string_view target; // message identifier or control name
    TextProperty property;
    std::array<std::string_view, LanguageCount> texts; // English, German, French (UTF-8)
};

// Every text that follows the user-interface language: the 28 messages first (in the order of
// MsgId), then the control texts window by window, in the order a language is applied.
std::span<const TextEntry> TextCatalogue();
inline constexpr std::size_t TextCatalogueSize = 105;

} // namespace setfolio
