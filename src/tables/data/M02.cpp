// Base set M-02: the menu parameters of M-02, by the name a library file keeps each under and
// its menu path. M-08 to M-11 build on it.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef LibraryParms[] = {
    {"1Nom1", "2.1.1.1"},
    {"1WTol1", "2.1.1.2"},
    {"1RTol1", "2.1.1.3"},
    {"1Offset1", "2.1.1.4"},
    {"1WmTol1", "2.1.1.5"},
    {"1RmTol1", "2.1.1.6"},
    {"2Nom1", "2.1.2.1"},
    {"2WTol1", "2.1.2.2"},
    {"2RTol1", "2.1.2.3"},
    {"2Offset1", "2.1.2.4"},
    {"2WmTol1", "2.1.2.5"},
    {"2RmTol1", "2.1.2.6"},
    {"TolRpts", "2.1.7"},
    {"CtlGroupLen", "2.2.1"},
    {"Deadband", "2.2.2"},
    {"InnerDiam", "2.2.3"},
    {"CtlGain", "2.2.4"},
    {"CtlGainAdapt", "2.2.5"},
    {"CtlDim", "2.2.6"},
    {"CtlLimit", "2.2.12"},
    {"MinLineSpd", "2.2.13"},
    {"Ptrim", "2.2.15"},
    {"Itrim", "2.2.16"},
    {"SumRpts", "2.3.1"},
    {"XbarR", "2.3.2"},
    {"Hist", "2.3.3"},
    {"SampleSep", "2.3.4"},
    {"SubgroupSize", "2.3.5"},
    {"BatchSize", "2.3.6"},
    {"RptsLang", "2.3.8"},
    {"Heading", "2.4.15"},
    {"ProductID", "2.4.16"},
};

constexpr MenuParmDef GlobalParms[] = {
    {"Units", "2.4.10"},
    {"Invert", "2.2.7"},
    {"GageDist", "2.2.8"},
    {"ExtraDist", "2.2.9"},
    {"OutputType", "2.2.10"},
    {"MaxCorrection", "2.2.11"},
    {"CtlAlgorithm", "2.2.14"},
    {"Samples", "2.4.9"},
    {"TolType", "2.4.11"},
    {"Security", "2.4.12"},
    {"UnlockCode", "2.4.13"},
    {"DispLang", "2.4.14"},
    {"ProductType", "2.4.17"},
    {"SerialOutput", "2.5.1"},
    {"Delimitter", "2.5.2"},
    {"PulsesPer", "2.5.3"},
    {"AnalogData1", "2.5.4.1"},
    {"AnalogGain1", "2.5.5.1"},
    {"AnalogOffset1", "2.5.6.1"},
    {"AnalogData2", "2.5.4.2"},
    {"AnalogGain2", "2.5.5.2"},
    {"AnalogOffset2", "2.5.6.2"},
    {"AnalogData3", "2.5.4.3"},
    {"AnalogGain3", "2.5.5.3"},
    {"AnalogOffset3", "2.5.6.3"},
};
// clang-format on

} // namespace

BuilderSetSteps BaseSetM02() {
    return {.set = {"M-02", false}, .library = LibraryParms, .global = GlobalParms};
}

} // namespace setfolio::data
