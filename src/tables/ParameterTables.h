#pragma once

#include "tables/ParameterRecords.h"
#include "tables/ParmTable.h"
#include "tables/SiteVocabulary.h"
#include "tables/Vocabularies.h"

#include <cstdint>

namespace setfolio {

// The parameter tables of one model at a time: the four coded-family lists, the two menu-family
// lists and the vocabularies their builder steps copy from. One instance lives for the whole run;
// AssembleParameterTables rebuilds the lists of the current family before every library that is
// transferred, and the transfer engines read them.
struct ParameterTables {
    ParmTable<TMnemonic> MnemonicList;
    ParmTable<TCondMnemonic> CondMnemonicList;
    ParmTable<TNumeric> NumericList;
    ParmTable<THeader> HeaderList;
    ParmTable<TdpParm> LibraryParmList;
    ParmTable<TdpParm> GlobalParmList;
    Vocabularies vocabularies;
    // Choice texts of the site, put in place of the built-in ones after every assembly, and what
    // that did for the model assembled last.
    const SiteVocabulary* site = nullptr;
    VocabularyUse siteUse;

    std::int32_t MnemonicCount() const { return MnemonicList.Count(); }
    std::int32_t CondMnemonicCount() const { return CondMnemonicList.Count(); }
    std::int32_t NumericCount() const { return NumericList.Count(); }
    std::int32_t HeaderCount() const { return HeaderList.Count(); }
    std::int32_t LibraryParmCount() const { return LibraryParmList.Count(); }
    std::int32_t GlobalParmCount() const { return GlobalParmList.Count(); }

    std::int32_t MnemonicFill() const { return MnemonicList.Fill(); }
    std::int32_t CondMnemonicFill() const { return CondMnemonicList.Fill(); }
    std::int32_t NumericFill() const { return NumericList.Fill(); }
    std::int32_t HeaderFill() const { return HeaderList.Fill(); }
    std::int32_t LibraryParmFill() const { return LibraryParmList.Fill(); }
    std::int32_t GlobalParmFill() const { return GlobalParmList.Fill(); }
};

} // namespace setfolio
