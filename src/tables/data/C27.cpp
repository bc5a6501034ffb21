// Base set C-27: the tables of C-27, a multilayer wall gauge, and the base of C-28 and C-29.
// C-28 and C-29 take their delay units from the measuring units.
#include "tables/data/DataSets.h"

#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view SystemTexts[] = {"WALL      ", "WALL + OD ", "LAYERS    "};
constexpr std::string_view TimeUnitsTexts[] = {"SECONDS "};
constexpr std::string_view DistUnitsTexts[] = {"FEET    ", "METERS  "};
constexpr std::string_view MeasUnitsTexts[] = {"ENGLISH", "METRIC "};
constexpr std::string_view ResolutionTexts[] = {".XXXXXX", "X.XXXXX", "XX.XXXX", "XXX.XXX", "XXXX.XX", "XXXXX.X", " XXXXXX"};
constexpr std::string_view RoundingTexts[] = {"NONE", "EVEN", "0/5 "};
constexpr std::string_view OffOnTexts[] = {"OFF", "ON "};
constexpr std::string_view LockingTexts[] = {"UNLOCKED", "LOCKED  "};
constexpr std::string_view YesNoTexts[] = {"YES", "NO "};
constexpr std::string_view PrinterPortTexts[] = {"OFF    ", "REPORTS"};
constexpr std::string_view AdaptTexts[] = {"NONE", "INCR"};
constexpr std::string_view ControlOutTexts[] = {"MOP   ", "RELAY "};
constexpr std::string_view MopDirTexts[] = {"INCREASE", "DECREASE"};
constexpr std::string_view ComputeCLsTexts[] = {"ONCE        ", "EVERY BATCH ", "EVERY SUBGRP", "USE PRESETS ", "NEVER       "};
constexpr std::string_view ReportsTexts[] = {"NONE          ", "HISTOGRAM     ", "x & R         ", "HIST, x & R   ", "SUMMARY       ", "SUMMARY, HIST ", "SUMMARY, x & R", "ALL REPORTS   "};
constexpr std::string_view QvSelectTexts[] = {"OFF    ", "LAYER 1", "LAYER 2", "LAYER 3", "TOTAL  ", "OD     "};
constexpr std::string_view NumLayersTexts[] = {"1 LAYER ", "2 LAYERS", "3 LAYERS", "4 LAYERS", "5 LAYERS"};
constexpr std::string_view NumTransTexts[] = {"ONE  ", "TWO  ", "FOUR "};
constexpr std::string_view TransTypeTexts[] = {"5 MHZ FOCUS ", "5 MHZ FLAT  ", "10 MHZ FOCUS", "10 MHZ FLAT ", "15 MHZ FOCUS", "2 MHZ FLAT  "};
constexpr std::string_view MaterialTypeTexts[] = {"PE      ", "PP      ", "PVC     ", "PA      ", "PEX     ", "PB      ", "OTHER   "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARATE", "COMBINED"};
constexpr std::string_view InputSourceTexts[] = {"  STATUS"};
constexpr std::string_view InputModeTexts[] = {"OFF", "TOG", "N/O", "N/C"};
constexpr std::string_view AnalogSourceTexts[] = {"   OD", "   ID", " WALL", "  CTL"};
constexpr std::string_view TrendDataTexts[] = {"NONE    ", "TOTAL   ", "LAYER 1 ", "LAYER 2 ", "LAYER 3 ", "LAYER 4 ", "LAYER 5 ", "TOT MIN ", "L1 MIN  ", "L2 MIN  ", "L3 MIN  ", "L4 MIN  ", "L5 MIN  ", "TOT MAX ", "L1 MAX  ", "L2 MAX  ", "L3 MAX  ", "L4 MAX  ", "L5 MAX  ", "OD      ", "OVALITY "};
constexpr std::string_view TrendColorTexts[] = {"BLACK     ", "RED       ", "GREEN     ", "BROWN     ", "BLUE      ", "MAGENTA   ", "CYAN      ", "GRAY      ", "WHITE     ", "LT RED    ", "LT GREEN  ", "YELLOW    ", "LT BLUE   ", "LT MAGENTA", "LT CYAN   ", "BRT WHITE "};
constexpr std::string_view ControlDimTexts[] = {"NONE      ", "OD        ", "ID        ", "OVALITY   ", "WALL1     ", "CONC1     ", "WALL2     ", "CONC2     ", "MIN WALL1 ", "MIN WALL2 "};
constexpr std::string_view SpcSourceTexts[] = {"NONE        ", "OD          ", "ID          ", "OVALITY     ", "WALL1 AVG   ", "WALL1 MIN   ", "CONC1       ", "WALL2 AVG   ", "WALL2 MIN   ", "CONC2       "};
constexpr std::string_view SerialDataTexts[] = {"NONE      ", "TOTAL AVG ", "TOTAL MIN ", "TOTAL MAX ", "LAYER 1   ", "LAYER 2   ", "LAYER 3   ", "LAYER 4   ", "LAYER 5   ", "L1 MIN    ", "L2 MIN    ", "L3 MIN    ", "L4 MIN    ", "L5 MIN    ", "OD AVG    ", "OVALITY   ", "LINE SPEED", "LENGTH    ", "TIME      ", "DATE      "};
constexpr std::string_view DelayFeetTexts[] = {"SECONDS ", "FEET    "};
constexpr std::string_view DelayMetersTexts[] = {"SECONDS ", "METERS  "};
constexpr std::string_view InterimFeetTexts[] = {"SECONDS ", "FEET    ", "SUBGRPS "};
constexpr std::string_view InterimMetersTexts[] = {"SECONDS ", "METERS  ", "SUBGRPS "};
constexpr std::string_view InputActionTexts[] = {"RUN/STOP    ", "CTL ON/OFF  ", "SPC ON/OFF  ", "CLR SPC DATA", "PRINT RPTS  ", "PRINT & CLR ", "NEXT LAYER  "};
constexpr std::string_view AnalogMeasurementTexts[] = {"TOTAL      ", "TOTAL DEV  ", "LAYER 1    ", "LAYER 2    "};
constexpr std::string_view AnalogCtlMeasurementTexts[] = {"CORRECTION ", "DEVIATION  ", "OUTPUT     "};
constexpr std::string_view DelayEnglishTexts[] = {"SECONDS", "FEET   "};
constexpr std::string_view DelayMetricTexts[] = {"SECONDS", "METERS "};

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
};

constexpr MnemonicDef Mnemonics[] = {
    {"SystemTorvik", "70", "System"},
    {"RTimeUnits", "00", "TimeUnits"},
    {"DistUnits", "03", "DistUnits"},
    {"MeasUnits", "04", "MeasUnits"},
    {"Resolution", "05", "Resolution"},
    {"Rounding", "06", "Rounding"},
    {"GlassLogic", "07", "OffOn"},
    {"alarmOff", "09", "OffOn"},
    {"PuSecurity", "11", "Locking"},
    {"LibSecurity", "12", "YesNo"},
    {"BsSecurity", "13", "YesNo"},
    {"PrinterPort", "14", "PrinterPort"},
    {"DbAdapt", "21", "Adapt"},
    {"GainAdapt", "22", "Adapt"},
    {"RunsTesting", "23", "OffOn"},
    {"ControlOut", "26", "ControlOut"},
    {"MopDir", "27", "MopDir"},
    {"ComputeCLs", "32", "ComputeCLs"},
    {"AReports", "34", "Reports"},
    {"BReports", "35", "Reports"},
    {"CReports", "36", "Reports"},
    {"DReports", "37", "Reports"},
    {"EReports", "38", "Reports"},
    {"FReports", "39", "Reports"},
    {"DbAdapt2", "41", "Adapt"},
    {"GainAdapt2", "42", "Adapt"},
    {"RunsTesting2", "43", "OffOn"},
    {"ControlOut2", "46", "ControlOut"},
    {"MopDir2", "47", "MopDir"},
    {"QvSelect", "50", "QvSelect"},
    {"NumLayers", "71", "NumLayers"},
    {"NumTrans", "72", "NumTrans"},
    {"TransType", "73", "TransType"},
    {"TempComp", "74", "OffOn"},
    {"MaterialType1", "75", "MaterialType"},
    {"MaterialType2", "76", "MaterialType"},
    {"XbarrType", "6A", "XbarrType"},
    {"Di1Src1", "A0", "InputSource"},
    {"Di1Src2", "A1", "InputSource"},
    {"Di1Src3", "A2", "InputSource"},
    {"Di1Src4", "A3", "InputSource"},
    {"Di1Src5", "A4", "InputSource"},
    {"Di1Src6", "A5", "InputSource"},
    {"Di1Src7", "A6", "InputSource"},
    {"Di1Src8", "A7", "InputSource"},
    {"Di1Src9", "A8", "InputSource"},
    {"Di1Src10", "A9", "InputSource"},
    {"Di1Src11", "AA", "InputSource"},
    {"Di1Src12", "AB", "InputSource"},
    {"Di1Src13", "AC", "InputSource"},
    {"Di1Src14", "AD", "InputSource"},
    {"Di1Src15", "AE", "InputSource"},
    {"Di1Src16", "AF", "InputSource"},
    {"Di2Src1", "D0", "InputSource"},
    {"Di2Src2", "D1", "InputSource"},
    {"Di2Src3", "D2", "InputSource"},
    {"Di2Src4", "D3", "InputSource"},
    {"Di2Src5", "D4", "InputSource"},
    {"Di2Src6", "D5", "InputSource"},
    {"Di2Src7", "D6", "InputSource"},
    {"Di2Src8", "D7", "InputSource"},
    {"Di2Src9", "D8", "InputSource"},
    {"Di2Src10", "D9", "InputSource"},
    {"Di2Src11", "DA", "InputSource"},
    {"Di2Src12", "DB", "InputSource"},
    {"Di2Src13", "DC", "InputSource"},
    {"Di2Src14", "DD", "InputSource"},
    {"Di2Src15", "DE", "InputSource"},
    {"Di2Src16", "DF", "InputSource"},
    {"Di1Mode1", "C0", "InputMode"},
    {"Di1Mode2", "C1", "InputMode"},
    {"Di1Mode3", "C2", "InputMode"},
    {"Di1Mode4", "C3", "InputMode"},
    {"Di1Mode5", "C4", "InputMode"},
    {"Di1Mode6", "C5", "InputMode"},
    {"Di1Mode7", "C6", "InputMode"},
    {"Di1Mode8", "C7", "InputMode"},
    {"Di1Mode9", "C8", "InputMode"},
    {"Di1Mode10", "C9", "InputMode"},
    {"Di1Mode11", "CA", "InputMode"},
    {"Di1Mode12", "CB", "InputMode"},
    {"Di1Mode13", "CC", "InputMode"},
    {"Di1Mode14", "CD", "InputMode"},
    {"Di1Mode15", "CE", "InputMode"},
    {"Di1Mode16", "CF", "InputMode"},
    {"Di2Mode1", "F0", "InputMode"},
    {"Di2Mode2", "F1", "InputMode"},
    {"Di2Mode3", "F2", "InputMode"},
    {"Di2Mode4", "F3", "InputMode"},
    {"Di2Mode5", "F4", "InputMode"},
    {"Di2Mode6", "F5", "InputMode"},
    {"Di2Mode7", "F6", "InputMode"},
    {"Di2Mode8", "F7", "InputMode"},
    {"Di2Mode9", "F8", "InputMode"},
    {"Di2Mode10", "F9", "InputMode"},
    {"Di2Mode11", "FA", "InputMode"},
    {"Di2Mode12", "FB", "InputMode"},
    {"Di2Mode13", "FC", "InputMode"},
    {"Di2Mode14", "FD", "InputMode"},
    {"Di2Mode15", "FE", "InputMode"},
    {"Di2Mode16", "FF", "InputMode"},
    {"Ad1Src1", "G0", "AnalogSource"},
    {"Ad1Src2", "G1", "AnalogSource"},
    {"Ad1Src3", "G2", "AnalogSource"},
    {"Ad2Src1", "G6", "AnalogSource"},
    {"Ad2Src2", "G7", "AnalogSource"},
    {"Ad2Src3", "G8", "AnalogSource"},
    {"Ad3Src1", "GC", "AnalogSource"},
    {"Ad3Src2", "GD", "AnalogSource"},
    {"Ad3Src3", "GE", "AnalogSource"},
    {"Ad4Src1", "GI", "AnalogSource"},
    {"Ad4Src2", "GJ", "AnalogSource"},
    {"Ad4Src3", "GK", "AnalogSource"},
    {"T2Data", "T2", "TrendData"},
    {"T3Data", "T4", "TrendData"},
    {"T4Data", "T6", "TrendData"},
    {"T1Color", "T1", "TrendColor"},
    {"T2Color", "T3", "TrendColor"},
    {"T3Color", "T5", "TrendColor"},
    {"T4Color", "T7", "TrendColor"},
    {"ControlDim", "20", "ControlDim"},
    {"ControlDim2", "40", "ControlDim"},
    {"ASpcSource", "2A", "SpcSource"},
    {"BSpcSource", "2B", "SpcSource"},
    {"CSpcSource", "2C", "SpcSource"},
    {"DSpcSource", "2D", "SpcSource"},
    {"ESpcSource", "2E", "SpcSource"},
    {"FSpcSource", "2F", "SpcSource"},
    {"SerialSelect1", "80", "SerialData"},
    {"SerialSelect2", "81", "SerialData"},
    {"SerialSelect3", "82", "SerialData"},
    {"SerialSelect4", "83", "SerialData"},
    {"SerialSelect5", "84", "SerialData"},
};

constexpr std::string_view CDelayUnitsSets[] = {"DelayFeet", "DelayMeters"};
constexpr std::string_view InterimUnitsSets[] = {"InterimFeet", "InterimMeters"};
constexpr std::string_view Di1Data1Sets[] = {"InputAction"};
constexpr std::string_view Ad1Data1Sets[] = {"AnalogMeasurement", "AnalogMeasurement", "AnalogMeasurement", "AnalogCtlMeasurement"};
constexpr std::string_view CDelayUnitsByMeasUnitsSets[] = {"DelayEnglish", "DelayMetric"};

constexpr CondMnemonicDef CondMnemonics[] = {
    {"CDelayUnits", "24", "DistUnits", CDelayUnitsSets},
    {"DDelayUnits", "30", "DistUnits", CDelayUnitsSets},
    {"InterimUnits", "33", "DistUnits", InterimUnitsSets},
    {"CDelayUnits2", "44", "DistUnits", CDelayUnitsSets},
    {"Di1Data1", "B0", "Di1Src1", Di1Data1Sets},
    {"Di1Data2", "B1", "Di1Src2", Di1Data1Sets},
    {"Di1Data3", "B2", "Di1Src3", Di1Data1Sets},
    {"Di1Data4", "B3", "Di1Src4", Di1Data1Sets},
    {"Di1Data5", "B4", "Di1Src5", Di1Data1Sets},
    {"Di1Data6", "B5", "Di1Src6", Di1Data1Sets},
    {"Di1Data7", "B6", "Di1Src7", Di1Data1Sets},
    {"Di1Data8", "B7", "Di1Src8", Di1Data1Sets},
    {"Di1Data9", "B8", "Di1Src9", Di1Data1Sets},
    {"Di1Data10", "B9", "Di1Src10", Di1Data1Sets},
    {"Di1Data11", "BA", "Di1Src11", Di1Data1Sets},
    {"Di1Data12", "BB", "Di1Src12", Di1Data1Sets},
    {"Di1Data13", "BC", "Di1Src13", Di1Data1Sets},
    {"Di1Data14", "BD", "Di1Src14", Di1Data1Sets},
    {"Di1Data15", "BE", "Di1Src15", Di1Data1Sets},
    {"Di1Data16", "BF", "Di1Src16", Di1Data1Sets},
    {"Di2Data1", "E0", "Di2Src1", Di1Data1Sets},
    {"Di2Data2", "E1", "Di2Src2", Di1Data1Sets},
    {"Di2Data3", "E2", "Di2Src3", Di1Data1Sets},
    {"Di2Data4", "E3", "Di2Src4", Di1Data1Sets},
    {"Di2Data5", "E4", "Di2Src5", Di1Data1Sets},
    {"Di2Data6", "E5", "Di2Src6", Di1Data1Sets},
    {"Di2Data7", "E6", "Di2Src7", Di1Data1Sets},
    {"Di2Data8", "E7", "Di2Src8", Di1Data1Sets},
    {"Di2Data9", "E8", "Di2Src9", Di1Data1Sets},
    {"Di2Data10", "E9", "Di2Src10", Di1Data1Sets},
    {"Di2Data11", "EA", "Di2Src11", Di1Data1Sets},
    {"Di2Data12", "EB", "Di2Src12", Di1Data1Sets},
    {"Di2Data13", "EC", "Di2Src13", Di1Data1Sets},
    {"Di2Data14", "ED", "Di2Src14", Di1Data1Sets},
    {"Di2Data15", "EE", "Di2Src15", Di1Data1Sets},
    {"Di2Data16", "EF", "Di2Src16", Di1Data1Sets},
    {"Ad1Data1", "G3", "Ad1Src1", Ad1Data1Sets},
    {"Ad1Data2", "G4", "Ad1Src2", Ad1Data1Sets},
    {"Ad1Data3", "G5", "Ad1Src3", Ad1Data1Sets},
    {"Ad2Data1", "G9", "Ad2Src1", Ad1Data1Sets},
    {"Ad2Data2", "GA", "Ad2Src2", Ad1Data1Sets},
    {"Ad2Data3", "GB", "Ad2Src3", Ad1Data1Sets},
    {"Ad3Data1", "GF", "Ad3Src1", Ad1Data1Sets},
    {"Ad3Data2", "GG", "Ad3Src2", Ad1Data1Sets},
    {"Ad3Data3", "GH", "Ad3Src3", Ad1Data1Sets},
    {"Ad4Data1", "GL", "Ad4Src1", Ad1Data1Sets},
    {"Ad4Data2", "GM", "Ad4Src2", Ad1Data1Sets},
    {"Ad4Data3", "GN", "Ad4Src3", Ad1Data1Sets},
};

// The rows that C-28 and C-29 take from the measuring units instead.
constexpr CondMnemonicDef MeasUnitsRows[] = {
    {"CDelayUnits", "24", "MeasUnits", CDelayUnitsByMeasUnitsSets},
    {"DDelayUnits", "30", "MeasUnits", CDelayUnitsByMeasUnitsSets},
    {"InterimUnits", "33", "MeasUnits", CDelayUnitsByMeasUnitsSets},
    {"CDelayUnits2", "44", "MeasUnits", CDelayUnitsByMeasUnitsSets},
};

constexpr NumericDef Numerics[] = {
    {"ReadingTime", "00"},
    {"SamePointDelay", "02"},
    {"PulsesPer", "04"},
    {"MinLineSpeed", "05"},
    {"InterimDelay", "08"},
    {"OdSTol1", "10"},
    {"OdWTol1", "11"},
    {"OdNom1", "12"},
    {"IdSTol1", "15"},
    {"IdWTol1", "16"},
    {"IdNom1", "17"},
    {"OvalSTol1", "1A"},
    {"OvalWTol1", "1B"},
    {"OvalNom1", "1C"},
    {"WallSTol1", "1F"},
    {"WallWTol1", "1G"},
    {"WallNom1", "1H"},
    {"ConcSTol1", "1K"},
    {"ConcWTol1", "1L"},
    {"ConcNom1", "1M"},
    {"WallSTol2", "1P"},
    {"WallWTol2", "1Q"},
    {"WallNom2", "1R"},
    {"ConcSTol2", "1U"},
    {"ConcWTol2", "1V"},
    {"ConcNom2", "1W"},
    {"GroupSize", "20"},
    {"DeadBand", "21"},
    {"MaxDeadBand", "22"},
    {"ControlGain", "23"},
    {"ControlDelay", "24"},
    {"MaxCtlTime", "27"},
    {"GroupSize2", "28"},
    {"DeadBand2", "29"},
    {"MaxDeadBand2", "2A"},
    {"ControlGain2", "2B"},
    {"ControlDelay2", "2C"},
    {"MaxCtlTime2", "2F"},
    {"RejectTol", "2G"},
    {"RejectTol2", "2H"},
    {"SampleSize", "30"},
    {"BatchSize", "31"},
    {"DataDelay", "32"},
    {"SampleDelay", "33"},
    {"batchDelay", "34"},
    {"HistInc", "35"},
    {"WHistInc", "36"},
    {"Offset", "3E"},
    {"APresetXUCL", "4A"},
    {"APresetXDBar", "4B"},
    {"APresetXLCL", "4C"},
    {"APresetRUCL", "4D"},
    {"APresetRBar", "4E"},
    {"APresetRLCL", "4F"},
    {"BPresetXUCL", "4G"},
    {"BPresetXDBar", "4H"},
    {"BPresetXLCL", "4J"},
    {"BPresetRUCL", "4K"},
    {"BPresetRBar", "4L"},
    {"BPresetRLCL", "4M"},
    {"CPresetXUCL", "4N"},
    {"CPresetXDBar", "4P"},
    {"CPresetXLCL", "4Q"},
    {"CPresetRUCL", "4R"},
    {"CPresetRBar", "4S"},
    {"CPresetRLCL", "4T"},
    {"Ad1gain1", "66"},
    {"Ad1Gain2", "67"},
    {"Ad1Gain3", "68"},
    {"Ad1Offset1", "69"},
    {"ad1Offset2", "6A"},
    {"Ad1Offset3", "6B"},
    {"Ad2gain1", "6C"},
    {"Ad2Gain2", "6D"},
    {"Ad2Gain3", "6E"},
    {"Ad2Offset1", "6F"},
    {"ad2Offset2", "6G"},
    {"Ad2Offset3", "6H"},
    {"Ad3gain1", "6I"},
    {"Ad3Gain2", "6J"},
    {"Ad3Gain3", "6K"},
    {"Ad3Offset1", "6L"},
    {"ad3Offset2", "6M"},
    {"Ad3Offset3", "6N"},
    {"Ad4gain1", "6O"},
    {"Ad4Gain2", "6P"},
    {"Ad4Gain3", "6Q"},
    {"Ad4Offset1", "6R"},
    {"ad4Offset2", "6S"},
    {"Ad4Offset3", "6T"},
    {"DPresetXUCL", "C6"},
    {"DPresetXDBar", "C7"},
    {"DPresetXLCL", "C8"},
    {"DPresetRUCL", "C9"},
    {"DPresetRBar", "CA"},
    {"DPresetRLCL", "CB"},
    {"EPresetXUCL", "CC"},
    {"EPresetXDBar", "CD"},
    {"EPresetXLCL", "CE"},
    {"EPresetRUCL", "CF"},
    {"EPresetRBar", "CG"},
    {"EPresetRLCL", "CH"},
    {"FPresetXUCL", "CI"},
    {"FPresetXDBar", "CJ"},
    {"FPresetXLCL", "CK"},
    {"FPresetRUCL", "CL"},
    {"FPresetRBar", "CM"},
    {"FPresetRLCL", "CN"},
    {"UscanAvg", "D0"},
    {"ThroatSize", "D1"},
    {"SpeedOfSound1", "D2"},
    {"SpeedOfSound2", "D3"},
    {"MeltTemp", "D4"},
    {"CalSpeed", "D5"},
    {"CalTemp", "D6"},
    {"SigNoise", "D7"},
    {"GoodScans", "D8"},
    {"MinWallSTol1", "EY"},
    {"MinWallWTol1", "EZ"},
    {"MinWallNom1", "FA"},
    {"MinWallSTol2", "FD"},
    {"MinWallWTol2", "FE"},
    {"MinWallNom2", "FF"},
    {"T1Limit", "T0"},
    {"T2Limit", "T2"},
    {"T3Limit", "T4"},
    {"T4Limit", "T6"},
};

constexpr HeaderDef Headers[] = {
    {"LibraryHdr", "03", "04"},
};
// clang-format on

constexpr std::int32_t C28 = 19;
constexpr std::int32_t C29 = 20;

// The vocabulary steps by the current model: a C-28 adds its own after this set's, a C-29 its
// French texts.
std::vector<BuilderSet> VocabularySteps(std::int32_t currentModelType) {
    if (currentModelType == C28)
        return {{"C-27", false}, {"C-28", true}};
    if (currentModelType == C29)
        return {{"C-27", false}, {"C-29", true}};
    return {{"C-27", false}};
}

// A C-28 or C-29 chooses its delay units by the measuring units, a C-27 by the distance unit.
std::vector<CondMnemonicDef> ConditionalRows(std::int32_t currentModelType) {
    std::vector<CondMnemonicDef> rows(std::begin(CondMnemonics), std::end(CondMnemonics));
    if (currentModelType != C28 && currentModelType != C29)
        return rows;
    for (auto& row : rows) {
        for (const auto& units : MeasUnitsRows) {
            if (row.name == units.name)
                row = units;
        }
    }
    return rows;
}

} // namespace

BuilderSetSteps BaseSetC27() {
    return {.set = {"C-27", false},
            .vocabulary = Vocabulary,
            .vocabularyPlan = VocabularySteps,
            .mnemonic = Mnemonics,
            .conditional = CondMnemonics,
            .conditionalPlan = ConditionalRows,
            .numeric = Numerics,
            .header = Headers};
}

} // namespace setfolio::data
