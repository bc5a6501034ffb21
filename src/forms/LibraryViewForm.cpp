#include "forms/LibraryViewForm.h"

#include "core/AtomicFile.h"
#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "core/TextFormat.h"
#include "library/LibraryComparison.h"
#include "platform/Dialogs.h"
#include "platform/Prompts.h"

#include <algorithm>

namespace setfolio {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` holds `part`, ASCII letter case aside; processor texts are bytes, so nothing
// else is folded.
bool Holds(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char x, char y) { return Lower(x) == Lower(y); }) != text.end();
}

bool Matches(const LibraryViewForm::Row& row, const std::string& filter) {
    if (filter.empty() || Holds(row.section, filter) || Holds(row.name, filter))
        return true;
    for (const auto* side : {&row.a, &row.b}) {
        if (*side && (Holds((*side)->stored, filter) || Holds((*side)->text.value_or(""), filter)))
            return true;
    }
    return false;
}

// A sentence about a file in the language applied last, each value made by `convert`.
template <typename Convert>
std::string Sentence(const MessageTexts& texts, const DecodedMessage& sentence, Convert convert) {
    std::vector<std::string> values;
    for (const auto& value : sentence.values)
        values.push_back(convert(value));
    const std::vector<std::string_view> views(values.begin(), values.end());
    return texts.Format(sentence.message, views);
}

// A problem as UTF-8: the file's bytes it names become the characters of the same numbers.
std::string ProblemLine(const MessageTexts& texts, const DecodedMessage& problem) {
    return Sentence(texts, problem, Latin1ToUtf8);
}

std::string Describe(const std::string& path, const DecodedLibrary& library) {
    if (!library.modelType)
        return path;
    const auto* entry = EntryOf(*library.modelType);
    return path + "  (" +
           (entry ? std::string(LabelOf(*library.modelType)) : std::to_string(*library.modelType)) +
           ")";
}

} // namespace

LibraryViewForm::LibraryViewForm(Localisation& localisation, Dialogs& dialogs, Prompts& prompts,
                                 const SiteVocabulary* site)
    : m_localisation(localisation), m_dialogs(dialogs), m_prompts(prompts), m_site(site) {
    OnlyDifferencesCB.checked = true;
    OnlyDifferencesCB.enabled = false;
    CompareBtn.enabled = false;
    ApplyTexts();
    m_languages = localisation.applied.Subscribe([this] {
        ApplyTexts();
        Changed();
    });
}

void LibraryViewForm::ApplyTexts() {
    const MessageTexts& texts = m_localisation.Messages();
    form.caption = texts.Text(OwnMsg::ViewerCaption);
    OpenBtn.caption = texts.Text(OwnMsg::ViewerOpen);
    CompareBtn.caption = texts.Text(OwnMsg::ViewerCompare);
    FilterLabel.caption = texts.Text(OwnMsg::ViewerFilter);
    OnlyDifferencesCB.caption = texts.Text(OwnMsg::ViewerOnlyDifferences);
    columns = {texts.Text(OwnMsg::ViewerSection), texts.Text(OwnMsg::ViewerParameter)};
    if (Comparing()) {
        for (const char* side : {"A", "B"}) {
            columns.push_back(texts.Format(OwnMsg::ViewerStoredOfFile, {side}));
            columns.push_back(texts.Format(OwnMsg::ViewerMeaningOfFile, {side}));
        }
    } else {
        columns.push_back(texts.Text(OwnMsg::ViewerStored));
        columns.push_back(texts.Text(OwnMsg::ViewerMeaning));
    }
}

std::optional<std::string> LibraryViewForm::Choose(OwnMsg title) {
    auto chosen = m_dialogs.ChooseFileToOpen(
        {m_localisation.Messages().Text(title),
         m_localisation.Messages().Text(OwnMsg::LibraryFilesFilterToOpen),
         recentFolder ? recentFolder->StartFor(m_folder) : m_folder, "lvf"});
    if (chosen) {
        m_folder = *chosen;
        if (recentFolder)
            recentFolder->Chosen(*chosen);
    }
    return chosen;
}

std::optional<LibraryViewForm::Loaded> LibraryViewForm::Load(const std::string& path) {
    const auto content = ReadWholeFile(path);
    if (!content) {
        m_prompts.WarningBeep();
        m_prompts.ErrorBox(m_localisation.Messages().Format(OwnMsg::ViewerCannotRead, {path}));
        return std::nullopt;
    }
    return Loaded{path, DecodeLibrary(*content, std::nullopt, m_site)};
}

bool LibraryViewForm::OpenBtnClick() {
    const auto chosen = Choose(OwnMsg::ViewerOpenTitle);
    return chosen && OpenFile(*chosen);
}

bool LibraryViewForm::CompareBtnClick() {
    const auto chosen = Choose(OwnMsg::ViewerCompareTitle);
    return chosen && CompareWith(*chosen);
}

bool LibraryViewForm::OpenFile(const std::string& path) {
    auto loaded = Load(path);
    if (!loaded)
        return false;
    m_a = std::move(loaded);
    m_b.reset();
    m_folder = path;
    ShowFiles();
    return true;
}

bool LibraryViewForm::CompareWith(const std::string& path) {
    if (!m_a)
        return OpenFile(path);
    auto loaded = Load(path);
    if (!loaded)
        return false;
    m_b = std::move(loaded);
    OnlyDifferencesCB.checked = true;
    ShowFiles();
    return true;
}

void LibraryViewForm::CompareContents(const std::string& nameA, const std::string& contentA,
                                      const std::string& nameB, const std::string& contentB) {
    m_a = Loaded{nameA, DecodeLibrary(contentA, std::nullopt, m_site)};
    m_b = Loaded{nameB, DecodeLibrary(contentB, std::nullopt, m_site)};
    OnlyDifferencesCB.checked = true;
    ShowFiles();
}

void LibraryViewForm::ShowFiles() {
    FileA.caption = m_a ? Describe(m_a->path, m_a->library) : std::string();
    FileB.caption = m_b ? Describe(m_b->path, m_b->library) : std::string();
    FileB.visible = Comparing();
    CompareBtn.enabled = m_a.has_value();
    OnlyDifferencesCB.enabled = Comparing();
    ApplyTexts();
    Changed();
}

void LibraryViewForm::FilterEditChange(const std::string& text) {
    FilterEdit.text = text;
    Changed();
}

void LibraryViewForm::OnlyDifferencesCBClick() {
    Changed();
}

std::vector<LibraryViewForm::Row> LibraryViewForm::Rows() const {
    std::vector<Row> rows;
    if (!m_a)
        return rows;
    const MessageTexts& texts = m_localisation.Messages();
    const auto add = [&](ParameterDifference pair) {
        const bool differs = Comparing() && pair.Differs();
        const bool sameText = Comparing() && pair.SameText();
        Row row{std::move(pair.section),
                std::move(pair.name),
                std::move(pair.a),
                std::move(pair.b),
                differs,
                std::string(),
                sameText ? texts.Text(OwnMsg::ViewerSameText) : std::string()};
        if (const auto& side = row.a && row.a->problem ? row.a : row.b; side && side->problem)
            row.problem = ProblemLine(texts, *side->problem);
        // The program's own meanings follow the language. A meaning is shown as the file's
        // bytes are, and these sentences are plain ASCII numbers and words in every language.
        for (auto* side : {&row.a, &row.b}) {
            if (*side && (*side)->meaning)
                (*side)->text = Sentence(texts, *(*side)->meaning,
                                         [](const std::string& value) { return value; });
        }
        if (Matches(row, FilterEdit.text))
            rows.push_back(std::move(row));
    };
    if (Comparing()) {
        // The keys `setfolio-cli diff` lists, in its order; with the rest in their places.
        const auto keys = OnlyDifferencesCB.checked ? ComparedKeys::Differing : ComparedKeys::All;
        for (auto& pair : CompareLibraries(m_a->library, m_b->library, keys))
            add(std::move(pair));
        return rows;
    }
    for (const auto& section : m_a->library.sections) {
        for (const auto& parameter : section.parameters)
            add({section.name, parameter.name, parameter, std::nullopt, {}, {}});
    }
    return rows;
}

std::vector<std::string> LibraryViewForm::Problems() const {
    const MessageTexts& texts = m_localisation.Messages();
    std::vector<std::string> problems;
    for (const auto* loaded : {&m_a, &m_b}) {
        if (!*loaded)
            continue;
        for (const auto& problem : (*loaded)->library.problems) {
            const std::string line = ProblemLine(texts, problem);
            problems.push_back(Comparing() ? texts.Format(OwnMsg::ViewerProblemOfFile,
                                                          {loaded == &m_a ? "A" : "B", line})
                                           : line);
        }
    }
    return problems;
}

} // namespace setfolio
