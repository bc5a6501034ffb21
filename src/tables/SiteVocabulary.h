#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// Choice texts a site puts in place of the built-in ones, because its processors show them
// otherwise: per model (its entry name, "C-01") and row, the texts of a mnemonic row, or the
// sets of texts of a conditional row. Texts are the processor's bytes.
struct SiteVocabulary {
    struct Row {
        bool conditional = false;
        std::vector<std::string> texts;             // a mnemonic row
        std::vector<std::vector<std::string>> sets; // a conditional row
    };
    std::map<std::string, std::map<std::string, Row>> models;

    bool Empty() const { return models.empty(); }
};

// A vocabulary file that cannot be read as one; what() names the line and column, or the model
// and row, and what is wrong.
class VocabularyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's JSON: {"C-01": {"MeasUnits": ["INCHES ", ...], "CDelayUnits": [["SECONDS ", ...],
// [...]]}}. A text is a string whose characters are single bytes (U+0000 to U+00FF), each taken
// as the byte of the same value. Throws VocabularyError.
SiteVocabulary ParseSiteVocabulary(std::string_view json);
// The file at `path`; an empty vocabulary when there is none. Throws VocabularyError.
SiteVocabulary ReadSiteVocabulary(const std::string& path);
// The same form, one row a line, for writing the file back.
std::string SiteVocabularyJson(const SiteVocabulary& vocabulary);
// `into` with every row of `from` put in (replacing a row of the same model and name).
void MergeSiteVocabulary(SiteVocabulary& into, const SiteVocabulary& from);

// An entry of a site's texts that does not fit its model's row: left out.
struct VocabularyRefusal {
    std::string model;
    std::string row;
    bool known = true;        // false: the model has no choice row of that name
    std::size_t given = 0;    // texts (or sets) the entry has
    std::size_t expected = 0; // choices (or sets) the row has
    int set = -1;             // the set of a conditional row that does not fit, or -1
    bool sets = false;        // the counts are of a conditional row's sets
};

// What putting a site's texts into assembled tables did.
struct VocabularyUse {
    std::set<std::string> rows; // the rows whose texts came from the site
    std::vector<VocabularyRefusal> refusals;
};

} // namespace setfolio
