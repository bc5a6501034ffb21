// Base set C-06: the tables of C-06, with core, hot and cold gauges and wall measurement.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view TimeUnitsTexts[] = {"SECONDS ", "SAMPLES "};
constexpr std::string_view AnalogDataTexts[] = {"CORE DIAM", "HOT DIAM ", "COLD DIAM", "HOT WALL "};
constexpr std::string_view MeasUnitsTexts[] = {"INCHES ", "MM     ", "MILS   ", "MICRONS"};
constexpr std::string_view ResolutionTexts[] = {".XXXXXX", "X.XXXXX", "XX.XXXX", "XXX.XXX", "XXXX.XX", "XXXXX.X", " XXXXXX"};
constexpr std::string_view RoundingTexts[] = {"NONE", "EVEN", "0/5 "};
constexpr std::string_view OffOnTexts[] = {"OFF", "ON "};
constexpr std::string_view FlawDetectTexts[] = {"DISABLED", "EXCLUDE ", "REPORT  ", "BOTH    "};
constexpr std::string_view FlawLimitTexts[] = {"RELATIVE", "ABSOLUTE"};
constexpr std::string_view DistUnitsTexts[] = {"FEET  ", "METERS"};
constexpr std::string_view LockingTexts[] = {"UNLOCKED", "LOCKED  "};
constexpr std::string_view YesNoTexts[] = {"YES", "NO "};
constexpr std::string_view PrinterPortTexts[] = {"OFF    ", "REPORTS", "LABELS "};
constexpr std::string_view SerialOutTexts[] = {"OFF      ", "CORE DATA", "HOT DATA ", "COLD DATA"};
constexpr std::string_view FootSwitchTexts[] = {"OFF     ", "PRINT   ", "CLEAR   ", "RUN/STOP"};
constexpr std::string_view AlarmDimTexts[] = {"CORE    "};
constexpr std::string_view GageType1Texts[] = {"OFF      ", "CORE     ", "HOT      ", "COLD     ", "HOT WALL ", "COLD WALL"};
constexpr std::string_view GageType23Texts[] = {"OFF ", "DIAM", "WALL"};
constexpr std::string_view GaugeTexts[] = {"CORE", "HOT "};
constexpr std::string_view AdaptTexts[] = {"NONE", "INCR", "FULL"};
constexpr std::string_view ControlOutTexts[] = {"MOP   ", "RELAY ", "ANALOG"};
constexpr std::string_view MopDirTexts[] = {"INCREASE", "DECREASE"};
constexpr std::string_view AnalogCtlTypeTexts[] = {"PROPORT", "SUMMING"};
constexpr std::string_view NoYesTexts[] = {"NO ", "YES"};
constexpr std::string_view SpcSourceTexts[] = {"  HOT", " COLD"};
constexpr std::string_view TolTypeTexts[] = {"CROSSING", "ALL     "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARATE", "COMBINED"};
constexpr std::string_view ComputeCLsTexts[] = {"ONCE        ", "EVERY BATCH ", "EVERY SUBGRP", "USE PRESETS "};
constexpr std::string_view ReportsTexts[] = {"NONE          ", "HISTOGRAM     ", "x & R         ", "HIST, x & R   ", "SUMMARY       ", "SUMMARY, HIST ", "SUMMARY, x & R", "ALL REPORTS   "};
constexpr std::string_view LabelSizeTexts[] = {"SMALL", "LARGE"};
constexpr std::string_view PrintSizeTexts[] = {"NORMAL", "DOUBLE"};
constexpr std::string_view ColDimTexts[] = {"CORE DIAM", "HOT DIAM "};
constexpr std::string_view LabelItemTexts[] = {"NONE        ", "LIBRARY     ", "HEADER      ", "DATE        ", "TIME        ", "LENGTH      ", "BATCH NO.   ", "NOMINAL     ", "TOLERANCES  ", "AVERAGE     ", "MINIMUM     ", "MAXIMUM     ", "STD DEV     ", "CPK         ", "OOT COUNT   ", "FLAW COUNT  ", "OPERATOR    ", "LINE SPEED  "};
constexpr std::string_view DelayFeetTexts[] = {"SECONDS", "FEET   "};
constexpr std::string_view DelayMetersTexts[] = {"SECONDS", "METERS "};
constexpr std::string_view BatchFeetTexts[] = {"SUBGRPS", "FEET   "};
constexpr std::string_view BatchMetersTexts[] = {"SUBGRPS", "METERS "};

constexpr VocabularyDef Vocabulary[] = {
    {"TimeUnits", TimeUnitsTexts},
    {"AnalogData", AnalogDataTexts},
    {"MeasUnits", MeasUnitsTexts},
    {"Resolution", ResolutionTexts},
    {"Rounding", RoundingTexts},
    {"OffOn", OffOnTexts},
    {"FlawDetect", FlawDetectTexts},
    {"FlawLimit", FlawLimitTexts},
    {"DistUnits", DistUnitsTexts},
    {"Locking", LockingTexts},
    {"YesNo", YesNoTexts},
    {"PrinterPort", PrinterPortTexts},
    {"SerialOut", SerialOutTexts},
    {"FootSwitch", FootSwitchTexts},
    {"AlarmDim", AlarmDimTexts},
    {"GageType1", GageType1Texts},
    {"GageType23", GageType23Texts},
    {"Gauge", GaugeTexts},
    {"Adapt", AdaptTexts},
    {"ControlOut", ControlOutTexts},
    {"MopDir", MopDirTexts},
    {"AnalogCtlType", AnalogCtlTypeTexts},
    {"NoYes", NoYesTexts},
    {"SpcSource", SpcSourceTexts},
    {"TolType", TolTypeTexts},
    {"XbarrType", XbarrTypeTexts},
    {"ComputeCLs", ComputeCLsTexts},
    {"Reports", ReportsTexts},
    {"LabelSize", LabelSizeTexts},
    {"PrintSize", PrintSizeTexts},
    {"ColDim", ColDimTexts},
    {"LabelItem", LabelItemTexts},
    {"DelayFeet", DelayFeetTexts},
    {"DelayMeters", DelayMetersTexts},
    {"BatchFeet", BatchFeetTexts},
    {"BatchMeters", BatchMetersTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"RTimeUnits", "00", "TimeUnits"},
    {"AnalogData", "01", "AnalogData"},
    {"MeasUnits", "03", "MeasUnits"},
    {"Resolution", "04", "Resolution"},
    {"Rounding", "05", "Rounding"},
    {"FiberLogic", "06", "OffOn"},
    {"FlawDetect", "07", "FlawDetect"},
    {"FlawLimit", "08", "FlawLimit"},
    {"DistUnits", "09", "DistUnits"},
    {"alarmOff", "0A", "OffOn"},
    {"PuSecurity", "0B", "Locking"},
    {"LibSecurity", "0C", "YesNo"},
    {"BsSecurity", "0D", "YesNo"},
    {"PrinterPort", "0E", "PrinterPort"},
    {"SerialOut", "0F", "SerialOut"},
    {"FootSwitch", "0P", "FootSwitch"},
    {"AlarmDim1", "0Q", "AlarmDim"},
    {"AlarmDim2", "0R", "AlarmDim"},
    {"GageType1", "0S", "GageType1"},
    {"GageType2", "0T", "GageType23"},
    {"GageType3", "0U", "GageType23"},
    {"ControlDim", "10", "Gauge"},
    {"DbAdapt", "11", "Adapt"},
    {"GainAdapt", "12", "Adapt"},
    {"RunsTesting", "13", "OffOn"},
    {"ControlOut", "16", "ControlOut"},
    {"MopDir", "17", "MopDir"},
    {"AnalogCtlType", "18", "AnalogCtlType"},
    {"Revert", "19", "NoYes"},
    {"Shrinkage", "1A", "OffOn"},
    {"ASpcSource", "20", "SpcSource"},
    {"BSpcSource", "21", "SpcSource"},
    {"CSpcSource", "22", "SpcSource"},
    {"DSpcSource", "23", "SpcSource"},
    {"TolRpt", "25", "Gauge"},
    {"TolType", "26", "TolType"},
    {"XbarrType", "27", "XbarrType"},
    {"ComputeCLs", "29", "ComputeCLs"},
    {"AReports", "2A", "Reports"},
    {"BReports", "2B", "Reports"},
    {"CReports", "2C", "Reports"},
    {"DReports", "2D", "Reports"},
    {"EReports", "2E", "Reports"},
    {"ESpcSource", "2F", "SpcSource"},
    {"LabelSize", "50", "LabelSize"},
    {"PrintSize", "51", "PrintSize"},
    {"Col1Dim", "52", "ColDim"},
    {"Col2Dim", "53", "ColDim"},
    {"Col3Dim", "54", "ColDim"},
    {"BatchEndLabel", "55", "NoYes"},
    {"Item1", "56", "LabelItem"},
    {"Item2", "57", "LabelItem"},
    {"Item3", "58", "LabelItem"},
    {"Item4", "59", "LabelItem"},
    {"Item5", "5A", "LabelItem"},
    {"Item6", "5B", "LabelItem"},
    {"Item7", "5C", "LabelItem"},
    {"Item8", "5D", "LabelItem"},
    {"Item9", "5E", "LabelItem"},
    {"Item10", "5F", "LabelItem"},
    {"Item11", "5G", "LabelItem"},
    {"Item12", "5H", "LabelItem"},
};

constexpr std::string_view CDelayUnitsSets[] = {"DelayFeet", "DelayMeters"};
constexpr std::string_view BatchUnitsSets[] = {"BatchFeet", "BatchMeters"};

constexpr CondMnemonicDef CondMnemonics[] = {
    {"CDelayUnits", "14", "DistUnits", CDelayUnitsSets},
    {"RDelayUnits", "15", "DistUnits", CDelayUnitsSets},
    {"SDelayUnits", "1B", "DistUnits", CDelayUnitsSets},
    {"BatchUnits", "24", "DistUnits", BatchUnitsSets},
    {"DDelayUnits", "28", "DistUnits", CDelayUnitsSets},
};

constexpr NumericDef Numerics[] = {
    {"CoreSpTol", "00"},
    {"CoreNominal", "01"},
    {"CoreSmTol", "02"},
    {"HotSpTol", "03"},
    {"HotNominal", "04"},
    {"HotSmTol", "05"},
    {"HotWallSpTol", "06"},
    {"HotWallNominal", "07"},
    {"HotWallSmTol", "08"},
    {"ColdSpTol", "09"},
    {"ColdNominal", "0A"},
    {"ColdSmTol", "0B"},
    {"ColdWallSpTol", "0C"},
    {"ColdWallNominal", "0D"},
    {"ColdWallSmTol", "0E"},
    {"ScansAveraged", "10"},
    {"EnterDelay", "11"},
    {"ExitDelay", "12"},
    {"AnalogGain1", "13"},
    {"AnalogOffset1", "14"},
    {"PulsesPer", "17"},
    {"MinLineSpeed", "18"},
    {"XmitDelay1", "19"},
    {"XmitDelay2", "1A"},
    {"CoreOffset", "1C"},
    {"HotOffset", "1D"},
    {"ColdOffset", "1E"},
    {"NoiseReject", "1F"},
    {"RejectDelay", "1G"},
    {"RejectTime", "1H"},
    {"GroupSize", "20"},
    {"DeadBand", "21"},
    {"MaxDeadBand", "22"},
    {"ControlGain", "23"},
    {"ControlDelay", "24"},
    {"MaxCtlTime", "25"},
    {"RampGroupSize", "26"},
    {"RampGain", "27"},
    {"RampCycles", "28"},
    {"RampSpeed", "29"},
    {"AnalogBase", "2A"},
    {"RejectTol", "2B"},
    {"ShrinkDelay", "2C"},
    {"SampleSize", "30"},
    {"BatchSize", "31"},
    {"DataDelay", "32"},
    {"SampleDelay", "33"},
    {"BatchDelay", "34"},
    {"HistInc", "35"},
    {"InterimDelay", "36"},
    {"APresetXUCL", "40"},
    {"APresetXDBar", "41"},
    {"APresetXLCL", "42"},
    {"APresetRUCL", "43"},
    {"APresetRBar", "44"},
    {"APresetRLCL", "45"},
    {"BPresetXUCL", "46"},
    {"BPresetXDBar", "47"},
    {"BPresetXLCL", "48"},
    {"BPresetRUCL", "49"},
    {"BPresetRBar", "4A"},
    {"BPresetRLCL", "4B"},
    {"CPresetXUCL", "4C"},
    {"CPresetXDBar", "4D"},
    {"CPresetXLCL", "4E"},
    {"CPresetRUCL", "4F"},
    {"CPresetRBar", "4G"},
    {"CPresetRLCL", "4H"},
    {"DPresetXUCL", "4I"},
    {"DPresetXDBar", "4J"},
    {"DPresetXLCL", "4K"},
    {"DPresetRUCL", "4L"},
    {"DPresetRBar", "4M"},
    {"DPresetRLCL", "4N"},
    {"EPresetXUCL", "4O"},
    {"EPresetXDBar", "4P"},
    {"EPresetXLCL", "4Q"},
    {"EPresetRUCL", "4R"},
    {"EPresetRBar", "4S"},
    {"EPresetRLCL", "4T"},
    {"LabelCopies", "50"},
};

constexpr HeaderDef Headers[] = {
    {"LibraryHdr", "03", "04"},
};
// clang-format on

} // namespace

BuilderSetSteps BaseSetC06() {
    return {.set = {"C-06", false},
            .vocabulary = Vocabulary,
            .mnemonic = Mnemonics,
            .conditional = CondMnemonics,
            .numeric = Numerics,
            .header = Headers};
}

} // namespace setfolio::data
