#include "transfer/SiteTexts.h"

#include "core/MessageLog.h"
#include "i18n/Messages.h"

namespace setfolio {

void SiteTextsFile::Load(const MessageTexts& texts, MessageLog& log) {
    try {
        m_vocabulary = ReadSiteVocabulary(m_path);
    } catch (const VocabularyError& error) {
        log.AddMessageLine(texts.Format(OwnMsg::VocabularyUnreadable, {m_path, error.what()}));
    }
}

std::string RefusalLine(const MessageTexts& texts, const VocabularyRefusal& refusal) {
    const auto number = [](std::size_t value) { return std::to_string(value); };
    if (!refusal.known)
        return texts.Format(OwnMsg::VocabularyUnknownRow, {refusal.model, refusal.row});
    if (refusal.sets)
        return texts.Format(
            OwnMsg::VocabularyWrongSets,
            {refusal.model, refusal.row, number(refusal.given), number(refusal.expected)});
    if (refusal.set >= 0)
        return texts.Format(OwnMsg::VocabularyWrongSetCount,
                            {refusal.model, refusal.row, std::to_string(refusal.set),
                             number(refusal.given), number(refusal.expected)});
    return texts.Format(
        OwnMsg::VocabularyWrongCount,
        {refusal.model, refusal.row, number(refusal.given), number(refusal.expected)});
}

void ReportRefusals(const MessageTexts& texts, const VocabularyUse& use, MessageLog& log) {
    for (const auto& refusal : use.refusals)
        log.AddMessageLine(RefusalLine(texts, refusal));
}

} // namespace setfolio
