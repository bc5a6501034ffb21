#pragma once

#include "tables/SiteVocabulary.h"

#include <string>
#include <utility>

namespace setfolio {

class MessageTexts;
class MessageLog;

// The site's choice texts in the file beside the settings ("Vocabulary.json"), read when the
// program starts; the tables of every transfer use them.
class SiteTextsFile {
public:
    explicit SiteTextsFile(std::string path) : m_path(std::move(path)) {}

    // Reads the file again; a file that cannot be used is reported in the log and changes
    // nothing, so the texts read before (or the built-in ones) stay in force.
    void Load(const MessageTexts& texts, MessageLog& log);
    // Texts read elsewhere (a file the user named), in force instead of the file's.
    void Use(SiteVocabulary vocabulary) { m_vocabulary = std::move(vocabulary); }

    const std::string& Path() const { return m_path; }
    const SiteVocabulary& Vocabulary() const { return m_vocabulary; }

private:
    std::string m_path;
    SiteVocabulary m_vocabulary;
};

inline constexpr const char* SiteTextsFileName = "Vocabulary.json";

// A site's entry left out, as the user is told: model, row and why.
std::string RefusalLine(const MessageTexts& texts, const VocabularyRefusal& refusal);
// Every entry of the tables assembled last that was left out, as lines of the log.
void ReportRefusals(const MessageTexts& texts, const VocabularyUse& use, MessageLog& log);

} // namespace setfolio
