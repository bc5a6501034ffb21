// Addition set C-20: the German choice texts of C-20. Every vocabulary of base set C-19 is
// defined here again, so a C-20 shows no English text.
#include "tables/data/DataSets.h"

#include <string_view>
#include <vector>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view SystemTexts[] = {"NUR WAND  ", "WAND + AD ", "NUR AD    "};
constexpr std::string_view TimeUnitsTexts[] = {"SEKUNDEN"};
constexpr std::string_view DistUnitsTexts[] = {"FUSS    ", "METER   "};
constexpr std::string_view MeasUnitsTexts[] = {"ZOLL   ", "MM     "};
constexpr std::string_view ResolutionTexts[] = {",XXXXXX", "X,XXXXX", "XX,XXXX", "XXX,XXX", "XXXX,XX", "XXXXX,X", " XXXXXX"};
constexpr std::string_view RoundingTexts[] = {"KEIN", "GER.", "0/5 "};
constexpr std::string_view OffOnTexts[] = {"AUS", "EIN"};
constexpr std::string_view LockingTexts[] = {"OFFEN   ", "GESPERRT"};
constexpr std::string_view YesNoTexts[] = {"JA  ", "NEIN"};
constexpr std::string_view PrinterPortTexts[] = {"AUS     ", "BERICHTE"};
constexpr std::string_view SerialBaudTexts[] = {"AUS   ", "1200  ", "2400  ", "4800  ", "9600  ", "19200 ", "38400 ", "57600 ", "115200"};
constexpr std::string_view AdaptTexts[] = {"KEIN", "INKR"};
constexpr std::string_view ControlOutTexts[] = {"MOP   ", "RELAIS"};
constexpr std::string_view MopDirTexts[] = {"ERHOEHEN", "SENKEN  "};
constexpr std::string_view WResolutionTexts[] = {",XXXX", "X,XXX", "XX,XX", "XXX,X"};
constexpr std::string_view ComputeCLsTexts[] = {"EINMAL      ", "JEDE CHARGE ", "JEDE UGRUPPE", "VORGABEN    ", "NIE         "};
constexpr std::string_view ReportsTexts[] = {"KEINE         ", "HISTOGRAMM    ", "x & R         ", "HIST, x & R   ", "UEBERSICHT    ", "UEBERS., HIST ", "UEBERS., x & R", "ALLE BERICHTE "};
constexpr std::string_view QvSelectTexts[] = {"AUS ", "WAND", "AD  ", "ID  ", "OVAL", "KONZ"};
constexpr std::string_view FixtNameTexts[] = {"RT-50  ", "RT-75  ", "RT-100 ", "RT-150 ", "RT-200 ", "SONDER "};
constexpr std::string_view FreqTexts[] = {"2,25 MHZ", "3,5 MHZ ", "5 MHZ   ", "10 MHZ  ", "15 MHZ  "};
constexpr std::string_view NoYesTexts[] = {"NEIN", "JA  "};
constexpr std::string_view SensLinkTexts[] = {"GETRENNT ", "GEKOPPELT"};
constexpr std::string_view SensChanTexts[] = {"KANAL 1", "KANAL 2", "KANAL 3", "KANAL 4"};
constexpr std::string_view DigitizeTexts[] = {"FLANKE", "SPITZE", "ENDE  "};
constexpr std::string_view ConcModeTexts[] = {"DIFF.  ", "PROZENT"};
constexpr std::string_view W2SelectTexts[] = {"WAND 1", "WAND 2"};
constexpr std::string_view DieRotTexts[] = {"  0 GRD", " 45 GRD", " 90 GRD", "135 GRD", "180 GRD", "225 GRD", "270 GRD", "315 GRD"};
constexpr std::string_view XbarrTypeTexts[] = {"GETRENNT", "KOMBIN. "};
constexpr std::string_view InputSourceTexts[] = {"ZUSTAND "};
constexpr std::string_view InputModeTexts[] = {"AUS", "WEC", "SLI", "OEF"};
constexpr std::string_view AnalogSourceTexts[] = {"   AD", "   ID", " WAND", " REGL"};
constexpr std::string_view TrendDataTexts[] = {"KEINE   ", "WAND1   ", "WAND2   ", "AD      ", "ID      ", "OVALIT. ", "KONZ1   ", "KONZ2   "};
constexpr std::string_view TrendColorTexts[] = {"SCHWARZ   ", "ROT       ", "GRUEN     ", "BRAUN     ", "BLAU      ", "MAGENTA   ", "CYAN      ", "GRAU      ", "WEISS     ", "HELLROT   ", "HELLGRUEN ", "GELB      ", "HELLBLAU  ", "HELLMAGENT", "HELLCYAN  ", "HELLWEISS "};
constexpr std::string_view ControlDimTexts[] = {"KEINE    ", "AD       ", "ID       ", "OVALITAET", "WAND1    ", "KONZ1    ", "WAND2    ", "KONZ2    ", "MIN WAND1", "MIN WAND2"};
constexpr std::string_view SpcSourceTexts[] = {"KEINE       ", "AD          ", "ID          ", "OVALITAET   ", "WAND1 MITTEL", "WAND1 MIN   ", "KONZ1       ", "WAND2 MITTEL", "WAND2 MIN   ", "KONZ2       "};
constexpr std::string_view SerialDataTexts[] = {"KEINE     ", "AD MITTEL ", "AD MIN    ", "AD MAX    ", "ID MITTEL ", "OVALITAET ", "WAND1 MITT", "WAND1 MIN ", "WAND1 MAX ", "KONZ1     ", "WAND2 MITT", "WAND2 MIN ", "WAND2 MAX ", "KONZ2     ", "EXZENTRIZ.", "GESCHWIND.", "LAENGE    ", "BIBLIOTHEK", "ZEIT      ", "DATUM     "};
constexpr std::string_view FilterModeTexts[] = {"NORMAL", "STARK "};
constexpr std::string_view TriggerModeTexts[] = {"AUTO   ", "MANUELL", "EXT +  ", "EXT -  "};
constexpr std::string_view DelayFeetTexts[] = {"SEKUND ", "FUSS    "};
constexpr std::string_view DelayMetersTexts[] = {"SEKUND ", "METER   "};
constexpr std::string_view InterimFeetTexts[] = {"SEKUND ", "FUSS    ", "UGRUPPEN"};
constexpr std::string_view InterimMetersTexts[] = {"SEKUND ", "METER   ", "UGRUPPEN"};
constexpr std::string_view InputActionTexts[] = {"START/STOPP ", "REGL EIN/AUS", "SPC EIN/AUS ", "SPC LOESCHEN", "BER. DRUCKEN", "DRUCK+LOESCH", "LAENGE LOE. "};
constexpr std::string_view AnalogMeasurementTexts[] = {"MITTELWERT ", "ABWEICHUNG ", "MINIMUM    ", "MAXIMUM    "};
constexpr std::string_view AnalogCtlMeasurementTexts[] = {"KORREKTUR  ", "ABWEICHUNG "};

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
    {"SerialBaud", SerialBaudTexts},
    {"Adapt", AdaptTexts},
    {"ControlOut", ControlOutTexts},
    {"MopDir", MopDirTexts},
    {"WResolution", WResolutionTexts},
    {"ComputeCLs", ComputeCLsTexts},
    {"Reports", ReportsTexts},
    {"QvSelect", QvSelectTexts},
    {"FixtName", FixtNameTexts},
    {"Freq", FreqTexts},
    {"NoYes", NoYesTexts},
    {"SensLink", SensLinkTexts},
    {"SensChan", SensChanTexts},
    {"Digitize", DigitizeTexts},
    {"ConcMode", ConcModeTexts},
    {"W2Select", W2SelectTexts},
    {"DieRot", DieRotTexts},
    {"XbarrType", XbarrTypeTexts},
    {"InputSource", InputSourceTexts},
    {"InputMode", InputModeTexts},
    {"AnalogSource", AnalogSourceTexts},
    {"TrendData", TrendDataTexts},
    {"TrendColor", TrendColorTexts},
    {"ControlDim", ControlDimTexts},
    {"SpcSource", SpcSourceTexts},
    {"SerialData", SerialDataTexts},
    {"FilterMode", FilterModeTexts},
    {"TriggerMode", TriggerModeTexts},
    {"DelayFeet", DelayFeetTexts},
    {"DelayMeters", DelayMetersTexts},
    {"InterimFeet", InterimFeetTexts},
    {"InterimMeters", InterimMetersTexts},
    {"InputAction", InputActionTexts},
    {"AnalogMeasurement", AnalogMeasurementTexts},
    {"AnalogCtlMeasurement", AnalogCtlMeasurementTexts},
};
// clang-format on

// This vocabulary step runs inside the mnemonic step of base set C-19, not in this set's own.
std::vector<BuilderSet> NoVocabularyStep(std::int32_t) {
    return {};
}

} // namespace

BuilderSetSteps AdditionSetC20() {
    return {.set = {"C-20", true}, .vocabulary = Vocabulary, .vocabularyPlan = NoVocabularyStep};
}

} // namespace setfolio::data
