#pragma once

#include "tables/BuilderSetRegistry.h"
#include "tables/ParameterTables.h"
#include "tables/SiteVocabulary.h"

#include <cstdint>

namespace setfolio {

class CurrentModel;

// Rebuilds the lists of the current family (not of modelType's own family) from the builder sets
// that modelType's composition names, list by list: coded family MnemonicList, CondMnemonicList,
// NumericList, HeaderList; menu family LibraryParmList, GlobalParmList. All mnemonic steps, with
// the vocabulary steps they start with, run before the first conditional step, so conditional,
// numeric and header rows see the vocabularies as the last mnemonic step left them. A model type
// whose composition names nothing for a list (one of another family, too) leaves it empty. For the
// bench family and an undefined current model nothing changes.
void AssembleParameterTables(ParameterTables& tables, const CurrentModel& current,
                             std::int32_t modelType,
                             const BuilderSetRegistry& registry = StandardBuilderSets());

// Puts the site's texts for `modelType` into the mnemonic and conditional rows of `tables`. An
// entry whose number of texts (or sets) differs from the row's, or that names no row of the
// model, is left out and said so; the built-in texts stay then.
VocabularyUse ApplySiteVocabulary(ParameterTables& tables, std::int32_t modelType,
                                  const SiteVocabulary& vocabulary);

} // namespace setfolio
