#include "tables/Assembly.h"

#include "core/CurrentModel.h"

#include <algorithm>

namespace setfolio {

namespace {

class Assembly {
public:
    Assembly(ParameterTables& tables, const CurrentModel& current, std::int32_t modelType,
             const BuilderSetRegistry& registry)
        : m_tables(tables), m_current(current), m_modelType(modelType), m_registry(registry) {}

    void Coded() {
        Build(ParmList::MnemonicList, m_tables.MnemonicList, [this](const BuilderSetSteps& set) {
            RunVocabularySteps(set);
            return set.mnemonic;
        });
        Build(ParmList::CondMnemonicList, m_tables.CondMnemonicList,
              [this](const BuilderSetSteps& set) {
                  if (set.conditionalPlan)
                      return set.conditionalPlan(m_current.ModelType());
                  return std::vector<CondMnemonicDef>(set.conditional.begin(),
                                                      set.conditional.end());
              });
        Build(ParmList::NumericList, m_tables.NumericList,
              [](const BuilderSetSteps& set) { return set.numeric; });
        Build(ParmList::HeaderList, m_tables.HeaderList,
              [](const BuilderSetSteps& set) { return set.header; });
    }

    void Menu() {
        Build(ParmList::LibraryParmList, m_tables.LibraryParmList,
              [](const BuilderSetSteps& set) { return set.library; });
        Build(ParmList::GlobalParmList, m_tables.GlobalParmList,
              [](const BuilderSetSteps& set) { return set.global; });
    }

private:
    // Empties the list, then runs the step for it of every set the composition names, in order.
    template <class Row, class StepRows>
    void Build(ParmList list, ParmTable<Row>& table, StepRows stepRows) {
        table.Restart();
        for (const auto& name : CompositionOf(m_modelType, list)) {
            const auto* set = m_registry.Find(name);
            if (!set)
                continue;
            const auto rows = stepRows(*set);
            table.Grow(static_cast<std::int32_t>(rows.size()));
            for (const auto& row : rows)
                table.Store(Record(row));
        }
    }

    void RunVocabularySteps(const BuilderSetSteps& set) {
        if (!set.vocabularyPlan) {
            Define(set.vocabulary);
            return;
        }
        for (const auto& name : set.vocabularyPlan(m_current.ModelType())) {
            if (const auto* planned = m_registry.Find(name))
                Define(planned->vocabulary);
        }
    }

    void Define(std::span<const VocabularyDef> vocabulary) {
        for (const auto& definition : vocabulary)
            m_tables.vocabularies.Define(definition.name, definition.texts);
    }

    TMnemonic Record(const MnemonicDef& row) const {
        return {std::string(row.name), std::string(row.code),
                m_tables.vocabularies.Find(row.vocabulary)};
    }

    TCondMnemonic Record(const CondMnemonicDef& row) const {
        TCondMnemonic record{std::string(row.name),
                             std::string(row.code),
                             std::string(row.source),
                             static_cast<std::int32_t>(row.valueSets.size()),
                             {}};
        for (const auto& vocabulary : row.valueSets)
            record.valueSets.push_back(m_tables.vocabularies.Find(vocabulary));
        return record;
    }

    static TNumeric Record(const NumericDef& row) {
        return {std::string(row.name), std::string(row.code)};
    }

    static THeader Record(const HeaderDef& row) {
        return {std::string(row.name), std::string(row.code1), std::string(row.code2)};
    }

    static TdpParm Record(const MenuParmDef& row) {
        return {std::string(row.name), std::string(row.menuPath)};
    }

    ParameterTables& m_tables;
    const CurrentModel& m_current;
    std::int32_t m_modelType;
    const BuilderSetRegistry& m_registry;
};

} // namespace

void AssembleParameterTables(ParameterTables& tables, const CurrentModel& current,
                             std::int32_t modelType, const BuilderSetRegistry& registry) {
    Assembly assembly(tables, current, modelType, registry);
    switch (current.Family()) {
    case ModelFamily::CodedFamily:
        assembly.Coded();
        // A site's own texts for its processors replace the built-in ones.
        tables.siteUse =
            tables.site ? ApplySiteVocabulary(tables, modelType, *tables.site) : VocabularyUse{};
        break;
    case ModelFamily::MenuFamily:
        assembly.Menu();
        break;
    case ModelFamily::BenchFamily:
    case ModelFamily::NoFamily:
        break;
    }
}

VocabularyUse ApplySiteVocabulary(ParameterTables& tables, std::int32_t modelType,
                                  const SiteVocabulary& vocabulary) {
    VocabularyUse use;
    const auto* entry = EntryOf(modelType);
    if (!entry)
        return use;
    const auto model = vocabulary.models.find(std::string(entry->entry));
    if (model == vocabulary.models.end())
        return use;
    const std::string modelName(entry->entry);
    const auto fits = [](const TvvValues& values, std::size_t given) {
        const auto count = static_cast<std::size_t>(std::max(values.count, 0));
        return given == count && values.values.size() >= count;
    };
    const auto choices = [](const TvvValues& values) {
        return static_cast<std::size_t>(std::max(values.count, 0));
    };
    for (const auto& [name, row] : model->second) {
        if (!row.conditional) {
            TMnemonic* mnemonic = nullptr;
            for (auto& candidate : tables.MnemonicList.EditableRows())
                mnemonic = candidate.name == name ? &candidate : mnemonic;
            if (!mnemonic) {
                use.refusals.push_back({modelName, name, false});
            } else if (!fits(mnemonic->values, row.texts.size())) {
                use.refusals.push_back(
                    {modelName, name, true, row.texts.size(), choices(mnemonic->values)});
            } else {
                std::copy(row.texts.begin(), row.texts.end(), mnemonic->values.values.begin());
                use.rows.insert(name);
            }
            continue;
        }
        TCondMnemonic* conditional = nullptr;
        for (auto& candidate : tables.CondMnemonicList.EditableRows())
            conditional = candidate.name == name ? &candidate : conditional;
        if (!conditional) {
            use.refusals.push_back({modelName, name, false});
            continue;
        }
        const auto sets = static_cast<std::size_t>(std::max(conditional->count, 0));
        if (row.sets.size() != sets || conditional->valueSets.size() < sets) {
            use.refusals.push_back({modelName, name, true, row.sets.size(), sets, -1, true});
            continue;
        }
        bool allFit = true;
        for (std::size_t k = 0; k < sets && allFit; ++k) {
            if (!fits(conditional->valueSets[k], row.sets[k].size())) {
                use.refusals.push_back({modelName, name, true, row.sets[k].size(),
                                        choices(conditional->valueSets[k]), static_cast<int>(k)});
                allFit = false;
            }
        }
        if (!allFit)
            continue;
        for (std::size_t k = 0; k < sets; ++k)
            std::copy(row.sets[k].begin(), row.sets[k].end(),
                      conditional->valueSets[k].values.begin());
        use.rows.insert(name);
    }
    return use;
}

} // namespace setfolio
