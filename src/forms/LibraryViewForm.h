#pragma once

#include "core/Signal.h"
#include "forms/FormControls.h"
#include "forms/FormModel.h"
#include "forms/RecentFolder.h"
#include "i18n/Messages.h"
#include "library/LibraryDecoder.h"

#include <optional>
#include <string>
#include <vector>

namespace setfolio {

class Dialogs;
class Prompts;

// The library viewer: a library file decoded, one row a key, with a filter; or two files side by
// side, where by default only the keys that differ are shown.
class LibraryViewForm : public FormModel {
public:
    // `site`: the site's own choice texts, which the meanings are read with.
    LibraryViewForm(Localisation& localisation, Dialogs& dialogs, Prompts& prompts,
                    const SiteVocabulary* site = nullptr);

    Window form{"Library File", 820, 540};
    // Shared with the other file selections of the program; none: the viewer's own.
    RecentFolder* recentFolder = nullptr;
    Button OpenBtn;
    Button CompareBtn;
    Label FilterLabel;
    TextEdit FilterEdit;
    Toggle OnlyDifferencesCB;
    Label FileA; // the file and its model
    Label FileB;
    std::vector<std::string> columns; // one file: section, parameter, stored, meaning

    struct Row {
        std::string section;
        std::string name;
        std::optional<DecodedParameter> a;
        std::optional<DecodedParameter> b; // only when comparing
        bool differs = false;
        std::string problem; // of either side, in the language applied last (UTF-8)
        // Two choices that differ in number only: the sentence that says so, else empty (UTF-8).
        std::string sameText;
    };
    // The rows the window shows now: the filter and "only differences" applied.
    std::vector<Row> Rows() const;
    // The problems of the file (of both files when comparing), for the window to list, in the
    // language applied last (UTF-8).
    std::vector<std::string> Problems() const;
    bool Comparing() const { return m_b.has_value(); }

    // Asks for a file and shows it; false when the user cancelled or it could not be read.
    bool OpenBtnClick();
    bool CompareBtnClick();
    // Loads the file as the one shown (the second of a comparison); an error box says why not.
    bool OpenFile(const std::string& path);
    bool CompareWith(const std::string& path);
    // Two libraries that are no files of their own (a processor's read-back, a version of a
    // backup): `nameA` and `nameB` say where each comes from.
    void CompareContents(const std::string& nameA, const std::string& contentA,
                         const std::string& nameB, const std::string& contentB);
    void FilterEditChange(const std::string& text);
    void OnlyDifferencesCBClick();

private:
    struct Loaded {
        std::string path;
        DecodedLibrary library;
    };
    std::optional<Loaded> Load(const std::string& path);
    // A library file, asked for under `title`.
    std::optional<std::string> Choose(OwnMsg title);
    void ApplyTexts();
    void ShowFiles();

    Localisation& m_localisation;
    Dialogs& m_dialogs;
    Prompts& m_prompts;
    const SiteVocabulary* m_site;
    Subscription m_languages;
    std::optional<Loaded> m_a;
    std::optional<Loaded> m_b;
    std::string m_folder;
};

} // namespace setfolio
