// Addition set C-29: the French choice texts of C-29. Every vocabulary that its rows use is
// defined here again.
#include "tables/data/DataSets.h"

#include <string_view>
#include <vector>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view SystemTexts[] = {"PAROI     ", "PAROI + DE", "COUCHES   "};
constexpr std::string_view TimeUnitsTexts[] = {"SECONDES"};
constexpr std::string_view DistUnitsTexts[] = {"PIEDS   ", "METRES  "};
constexpr std::string_view MeasUnitsTexts[] = {"ANGLAIS", "METRIQ."};
constexpr std::string_view ResolutionTexts[] = {",XXXXXX", "X,XXXXX", "XX,XXXX", "XXX,XXX", "XXXX,XX", "XXXXX,X", " XXXXXX"};
constexpr std::string_view RoundingTexts[] = {"AUCUN", "PAIR ", "0/5  "};
constexpr std::string_view OffOnTexts[] = {"ARRET ", "MARCHE"};
constexpr std::string_view LockingTexts[] = {"OUVERT    ", "VERROUILLE"};
constexpr std::string_view YesNoTexts[] = {"OUI", "NON"};
constexpr std::string_view PrinterPortTexts[] = {"ARRET   ", "RAPPORTS"};
constexpr std::string_view AdaptTexts[] = {"AUCUN", "INCR."};
constexpr std::string_view ControlOutTexts[] = {"MOP   ", "RELAIS"};
constexpr std::string_view MopDirTexts[] = {"AUGMENTER", "DIMINUER "};
constexpr std::string_view ComputeCLsTexts[] = {"UNE FOIS    ", "CHAQUE LOT  ", "CHAQUE SS-GR", "PRESELECTION", "JAMAIS      "};
constexpr std::string_view ReportsTexts[] = {"AUCUN         ", "HISTOGRAMME   ", "x & R         ", "HIST, x & R   ", "RESUME        ", "RESUME, HIST  ", "RESUME, x & R ", "TOUS RAPPORTS "};
constexpr std::string_view QvSelectTexts[] = {"ARRET  ", "COUCHE1", "COUCHE2", "COUCHE3", "TOTAL  ", "DE     "};
constexpr std::string_view NumLayersTexts[] = {"1 COUCHE ", "2 COUCHES", "3 COUCHES", "4 COUCHES", "5 COUCHES"};
constexpr std::string_view NumTransTexts[] = {"UN    ", "DEUX  ", "QUATRE"};
constexpr std::string_view TransTypeTexts[] = {"5 MHZ FOCAL ", "5 MHZ PLAT  ", "10 MHZ FOCAL", "10 MHZ PLAT ", "15 MHZ FOCAL", "2 MHZ PLAT  "};
constexpr std::string_view MaterialTypeTexts[] = {"PE      ", "PP      ", "PVC     ", "PA      ", "PEX     ", "PB      ", "AUTRE   "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARE ", "COMBINE"};
constexpr std::string_view InputSourceTexts[] = {"    ETAT"};
constexpr std::string_view InputModeTexts[] = {"ARR", "BAS", "N/O", "N/F"};
constexpr std::string_view AnalogSourceTexts[] = {"   DE", "   DI", "PAROI", " REGL"};
constexpr std::string_view TrendDataTexts[] = {"AUCUN   ", "TOTAL   ", "COUCHE 1", "COUCHE 2", "COUCHE 3", "COUCHE 4", "COUCHE 5", "TOT MIN ", "C1 MIN  ", "C2 MIN  ", "C3 MIN  ", "C4 MIN  ", "C5 MIN  ", "TOT MAX ", "C1 MAX  ", "C2 MAX  ", "C3 MAX  ", "C4 MAX  ", "C5 MAX  ", "DE      ", "OVALISAT"};
constexpr std::string_view TrendColorTexts[] = {"NOIR      ", "ROUGE     ", "VERT      ", "MARRON    ", "BLEU      ", "MAGENTA   ", "CYAN      ", "GRIS      ", "BLANC     ", "ROUGE CL. ", "VERT CL.  ", "JAUNE     ", "BLEU CL.  ", "MAGENTA CL", "CYAN CL.  ", "BLANC BRIL"};
constexpr std::string_view ControlDimTexts[] = {"AUCUN     ", "DIAM EXT  ", "DIAM INT  ", "OVALISAT. ", "PAROI     ", "CONC1     ", "PAROI 2   ", "CONC2     ", "PAROI MIN ", "PAROI2 MIN"};
constexpr std::string_view SpcSourceTexts[] = {"AUCUN       ", "DIAM EXT    ", "DIAM INT    ", "OVALISATION ", "PAROI1 MOY. ", "PAROI1 MIN  ", "CONC1       ", "PAROI2 MOY. ", "PAROI2 MIN  ", "CONC2       "};
constexpr std::string_view SerialDataTexts[] = {"AUCUN     ", "TOTAL MOY.", "TOTAL MIN ", "TOTAL MAX ", "COUCHE 1  ", "COUCHE 2  ", "COUCHE 3  ", "COUCHE 4  ", "COUCHE 5  ", "C1 MIN    ", "C2 MIN    ", "C3 MIN    ", "C4 MIN    ", "C5 MIN    ", "DE MOY.   ", "OVALISAT. ", "VITESSE   ", "LONGUEUR  ", "HEURE     ", "DATE      "};
constexpr std::string_view DelayFeetTexts[] = {"SECONDES", "PIEDS   "};
constexpr std::string_view DelayMetersTexts[] = {"SECONDES", "METRES  "};
constexpr std::string_view InterimFeetTexts[] = {"SECONDES", "PIEDS   ", "SS-GROUP"};
constexpr std::string_view InterimMetersTexts[] = {"SECONDES", "METRES  ", "SS-GROUP"};
constexpr std::string_view InputActionTexts[] = {"MARCHE/ARRET", "REGUL M/A   ", "SPC M/A     ", "EFFACER SPC ", "IMPR. RAPP. ", "IMPR.+EFFAC.", "COUCHE SUIV."};
constexpr std::string_view AnalogMeasurementTexts[] = {"TOTAL      ", "ECART TOTAL", "COUCHE 1   ", "COUCHE 2   "};
constexpr std::string_view AnalogCtlMeasurementTexts[] = {"CORRECTION ", "ECART      ", "SORTIE     "};
constexpr std::string_view DelayEnglishTexts[] = {"SECOND.", "PIEDS  "};
constexpr std::string_view DelayMetricTexts[] = {"SECOND.", "METRES "};
constexpr std::string_view ConcModeTexts[] = {"DIFFERENCE", "POURCENT. "};

constexpr VocabularyDef Vocabulary[] = {
    {"System", SystemTexts},
    {"TimeUnits", TimeUnitsTexts},
    {"DistUnits", DistUnitsTexts},
    {"MeasUnits", MeasUnitsTexts},
    {"Resolution", ResolutionTexts},
    {"Rounding", RoundingTexts},
    {"OffOn", OffOnTexts},
    {"Locking", LockingTexts},
    {"YesNo", YesNoTexts},
    {"PrinterPort", PrinterPortTexts},
    {"Adapt", AdaptTexts},
    {"ControlOut", ControlOutTexts},
    {"MopDir", MopDirTexts},
    {"ComputeCLs", ComputeCLsTexts},
    {"Reports", ReportsTexts},
    {"QvSelect", QvSelectTexts},
    {"NumLayers", NumLayersTexts},
    {"NumTrans", NumTransTexts},
    {"TransType", TransTypeTexts},
    {"MaterialType", MaterialTypeTexts},
    {"XbarrType", XbarrTypeTexts},
    {"InputSource", InputSourceTexts},
    {"InputMode", InputModeTexts},
    {"AnalogSource", AnalogSourceTexts},
    {"TrendData", TrendDataTexts},
    {"TrendColor", TrendColorTexts},
    {"ControlDim", ControlDimTexts},
    {"SpcSource", SpcSourceTexts},
    {"SerialData", SerialDataTexts},
    {"DelayFeet", DelayFeetTexts},
    {"DelayMeters", DelayMetersTexts},
    {"InterimFeet", InterimFeetTexts},
    {"InterimMeters", InterimMetersTexts},
    {"InputAction", InputActionTexts},
    {"AnalogMeasurement", AnalogMeasurementTexts},
    {"AnalogCtlMeasurement", AnalogCtlMeasurementTexts},
    {"DelayEnglish", DelayEnglishTexts},
    {"DelayMetric", DelayMetricTexts},
    {"ConcMode", ConcModeTexts},
};
// clang-format on

// This vocabulary step runs inside the mnemonic step of base set C-27, not in this set's own.
std::vector<BuilderSet> NoVocabularyStep(std::int32_t) {
    return {};
}

} // namespace

BuilderSetSteps AdditionSetC29() {
    return {.set = {"C-29", true}, .vocabulary = Vocabulary, .vocabularyPlan = NoVocabularyStep};
}

} // namespace setfolio::data
