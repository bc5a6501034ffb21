#include "transfer/VocabularyLearning.h"

#include "core/CurrentModel.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "tables/ParameterTables.h"
#include "transfer/ChangeLibrary.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace setfolio {

namespace {

std::vector<std::string> Texts(const TvvValues& values) {
    const auto count = static_cast<std::size_t>(std::max(values.count, 0));
    return {values.values.begin(), values.values.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                               count, values.values.size()))};
}

class Learner {
public:
    Learner(Exchange& exchange, const CurrentModel& model, const ParameterTables& tables,
            LearningOutcome& outcome)
        : m_exchange(exchange), m_tables(tables), m_outcome(outcome),
          m_modelName(EntryOf(model.ModelType()) ? std::string(EntryOf(model.ModelType())->entry)
                                                 : std::string()) {}

    // The rows to learn, and the source rows their conditional ones need.
    void Choose(const std::vector<std::string>& rows) {
        const auto wanted = [&rows](const std::string& name) {
            return rows.empty() || std::find(rows.begin(), rows.end(), name) != rows.end();
        };
        for (const auto& row : m_tables.MnemonicList.Rows()) {
            if (wanted(row.name))
                m_mnemonics.push_back(&row);
        }
        for (const auto& row : m_tables.CondMnemonicList.Rows()) {
            if (!wanted(row.name))
                continue;
            const TMnemonic* source = nullptr;
            for (const auto& candidate : m_tables.MnemonicList.Rows())
                source = candidate.name == row.source ? &candidate : source;
            if (source) {
                m_conditionals.push_back({&row, source});
                m_sources.push_back(source);
            }
        }
    }

    bool Stopped() const {
        const ReplyStatus status = m_exchange.replyStatus();
        return m_exchange.AbortRequested() || status == ReplyStatus::NoConnection ||
               status == ReplyStatus::PortOff;
    }

    // What each row shows now, before anything is changed.
    void NoteOriginals() {
        const auto note = [this](const std::string& name, const std::string& code) {
            if (m_originals.contains(name) || Stopped())
                return;
            if (auto text = Query(code))
                m_originals[name] = std::move(*text);
        };
        for (const auto* row : m_mnemonics)
            note(row->name, row->code);
        for (const auto* source : m_sources)
            note(source->name, source->code);
        for (const auto& [row, source] : m_conditionals)
            note(row->name, row->code);
    }

    void LearnMnemonics(const std::function<void(const std::string&)>& progress) {
        for (const auto* row : m_mnemonics) {
            if (Stopped())
                return;
            progress(row->name);
            const std::size_t unknownBefore = m_outcome.unknown.size();
            auto texts = Texts(row->values);
            if (!LearnChoices(row->name, row->code, -1, texts))
                return;
            Tell(row->name, unknownBefore, texts == Texts(row->values));
            m_learned[row->name] = texts;
            Keep(row->name, {false, texts, {}});
        }
    }

    void LearnConditionals(const std::function<void(const std::string&)>& progress) {
        for (const auto& [row, source] : m_conditionals) {
            if (Stopped())
                return;
            progress(row->name);
            const std::size_t unknownBefore = m_outcome.unknown.size();
            bool builtIn = true;
            SiteVocabulary::Row learned{true, {}, {}};
            for (int set = 0; set < row->count; ++set) {
                auto texts = Texts(row->valueSets[static_cast<std::size_t>(set)]);
                if (!Set(source->name, source->code, set)) {
                    for (int choice = 0; choice < static_cast<int>(texts.size()); ++choice)
                        Unknown(row->name, set, choice);
                } else if (!LearnChoices(row->name, row->code, set, texts)) {
                    return;
                }
                builtIn = builtIn && texts == Texts(row->valueSets[static_cast<std::size_t>(set)]);
                learned.sets.push_back(std::move(texts));
            }
            Tell(row->name, unknownBefore, builtIn);
            Keep(row->name, learned);
        }
    }

    // Every row back to the choice it showed at the start: sources and other mnemonic rows
    // first, then the conditional rows, whose texts depend on them.
    void Restore() {
        m_exchange.ForgetAbort();
        std::vector<const TMnemonic*> mnemonics = m_mnemonics;
        for (const auto* source : m_sources) {
            if (std::find(mnemonics.begin(), mnemonics.end(), source) == mnemonics.end())
                mnemonics.push_back(source);
        }
        for (const auto* row : mnemonics) {
            const auto texts =
                m_learned.contains(row->name) ? m_learned[row->name] : Texts(row->values);
            RestoreRow(row->name, row->code, texts);
        }
        for (const auto& [row, source] : m_conditionals) {
            const auto original = m_originals.find(source->name);
            const auto sourceTexts =
                m_learned.contains(source->name) ? m_learned[source->name] : Texts(source->values);
            const auto set = original == m_originals.end() ? std::nullopt
                                                           : IndexOf(sourceTexts, original->second);
            if (!set || *set >= static_cast<int>(row->valueSets.size())) {
                if (m_touched.contains(row->name))
                    m_outcome.notRestored.push_back(row->name);
                continue;
            }
            auto texts = Texts(row->valueSets[static_cast<std::size_t>(*set)]);
            if (const auto* learned = LearnedSet(row->name, *set))
                texts = *learned;
            RestoreRow(row->name, row->code, texts);
        }
    }

private:
    std::optional<std::string> Query(const std::string& code) {
        Reply reply = m_exchange.SendAndWait("4" + code + "\r");
        if (reply.Ok() && !reply.mnemonic) {
            // Ok without a text: the reply answered another question.
            m_exchange.Fail(ReplyStatus::UnknownError);
            return std::nullopt;
        }
        return reply.Ok() ? std::move(reply.mnemonic) : std::nullopt;
    }

    bool Set(const std::string& name, const std::string& code, int choice) {
        m_touched.insert(name);
        return m_exchange.SendAndWait("2" + code + " " + FormatValueIndex(choice) + "\r").Ok();
    }

    void Unknown(const std::string& row, int set, int choice) {
        m_outcome.unknown.push_back({row, set, choice, m_exchange.replyStatus()});
    }

    // Sets each choice of a row in turn and reads its text into `texts`; false once learning
    // has to stop.
    bool LearnChoices(const std::string& name, const std::string& code, int set,
                      std::vector<std::string>& texts) {
        for (int choice = 0; choice < static_cast<int>(texts.size()); ++choice) {
            std::optional<std::string> text;
            if (Set(name, code, choice))
                text = Query(code);
            if (Stopped())
                return false;
            if (text)
                texts[static_cast<std::size_t>(choice)] = std::move(*text);
            else
                Unknown(name, set, choice);
        }
        return true;
    }

    // A row read to its end: refused when a choice of it stayed unknown.
    void Tell(const std::string& name, std::size_t unknownBefore, bool builtIn) {
        if (m_outcome.unknown.size() > unknownBefore)
            return;
        (builtIn ? m_outcome.builtInTexts : m_outcome.ownTexts).push_back(name);
    }

    void Keep(const std::string& name, SiteVocabulary::Row row) {
        m_outcome.learned.models[m_modelName][name] = std::move(row);
    }

    const std::vector<std::string>* LearnedSet(const std::string& name, int set) const {
        const auto model = m_outcome.learned.models.find(m_modelName);
        if (model == m_outcome.learned.models.end())
            return nullptr;
        const auto row = model->second.find(name);
        if (row == model->second.end() || set >= static_cast<int>(row->second.sets.size()))
            return nullptr;
        return &row->second.sets[static_cast<std::size_t>(set)];
    }

    static std::optional<int> IndexOf(const std::vector<std::string>& texts,
                                      const std::string& text) {
        const auto found = std::find(texts.begin(), texts.end(), text);
        if (found == texts.end())
            return std::nullopt;
        return static_cast<int>(found - texts.begin());
    }

    // Only rows that were changed need putting back; once the link is gone, no more is tried.
    void RestoreRow(const std::string& name, const std::string& code,
                    const std::vector<std::string>& texts) {
        if (!m_touched.contains(name))
            return;
        const auto original = m_originals.find(name);
        const auto choice =
            original == m_originals.end() ? std::nullopt : IndexOf(texts, original->second);
        if (choice && !m_linkGone) {
            try {
                if (Set(name, code, *choice))
                    return;
                m_linkGone = Stopped();
            } catch (const TcpError&) {
                m_linkGone = true;
            } catch (const PortError&) {
                m_linkGone = true;
            }
        }
        m_outcome.notRestored.push_back(name);
    }

    Exchange& m_exchange;
    const ParameterTables& m_tables;
    LearningOutcome& m_outcome;
    std::string m_modelName;
    std::vector<const TMnemonic*> m_mnemonics;
    std::vector<const TMnemonic*> m_sources;
    std::vector<std::pair<const TCondMnemonic*, const TMnemonic*>> m_conditionals;
    std::map<std::string, std::string> m_originals;
    std::map<std::string, std::vector<std::string>> m_learned;
    std::set<std::string> m_touched; // rows a set command went out for
    bool m_linkGone = false;
};

} // namespace

LearningOutcome LearnVocabulary(Exchange& exchange, const CurrentModel& model,
                                const ParameterTables& tables, int active, int scratch,
                                const std::vector<std::string>& rows,
                                const std::function<void(const std::string& row)>& progress) {
    LearningOutcome outcome;
    outcome.activeLibrary = active;
    Learner learner(exchange, model, tables, outcome);
    learner.Choose(rows);
    bool selected = false;
    try {
        const Reply reply = ChangeLibrary(exchange, model, -1, scratch, {});
        selected = reply.Ok();
        if (reply.library)
            outcome.activeLibrary = *reply.library;
        if (selected) {
            learner.NoteOriginals();
            learner.LearnMnemonics(progress);
            learner.LearnConditionals(progress);
        }
    } catch (const TcpError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    } catch (const PortError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    }
    if (exchange.AbortRequested())
        outcome.stopped = ReplyStatus::Aborted;
    else if (!selected || learner.Stopped())
        outcome.stopped = exchange.replyStatus();
    if (selected)
        learner.Restore();
    exchange.ForgetAbort();
    try {
        const Reply reply = ChangeLibrary(exchange, model, -1, active, {});
        outcome.restoredLibrary = reply.Ok();
        if (reply.library)
            outcome.activeLibrary = *reply.library;
    } catch (const TcpError&) {
    } catch (const PortError&) {
    }
    return outcome;
}

} // namespace setfolio
