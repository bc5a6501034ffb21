#include "tables/Assembly.h"

#include "tables/SiteVocabulary.h"

#include "core/CurrentModel.h"

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
        tables.siteUse = tables.site ? ApplySiteVocabulary(tables, modelType, *tables.site)
                                     : VocabularyUse{};
        break;
    case ModelFamily::MenuFamily:
        assembly.Menu();
        break;
    case ModelFamily::BenchFamily:
    case ModelFamily::NoFamily:
        break;
    }
}

} // namespace setfolio
