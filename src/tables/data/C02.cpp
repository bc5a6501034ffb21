// Base set C-02: the tables of C-02, which measures on an X and a Y axis.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view TimeUnitsTexts[] = {"SECONDS ", "SAMPLES "};
constexpr std::string_view AnalogDataTexts[] = {"X DIAM   ", "Y DIAM   ", "XY DIAM  ", "X - Y    "};
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
constexpr std::string_view SerialOutTexts[] = {"OFF     ", "X DATA  ", "XY DATA ", "REMOTE  "};
constexpr std::string_view FootSwitchTexts[] = {"OFF     ", "PRINT   ", "CLEAR   ", "RUN/STOP"};
constexpr std::string_view AlarmDimTexts[] = {"XY AVG  "};
constexpr std::string_view MeasurementTypeTexts[] = {"X DIAMETER", "Y DIAMETER", "XY AVERAGE", "X - Y     ", "OVALITY   ", "DIFFERENCE"};
constexpr std::string_view ControlDimTexts[] = {"X-AXIS  ", "XY AVG  "};
constexpr std::string_view AdaptTexts[] = {"NONE", "INCR", "FULL"};
constexpr std::string_view ControlOutTexts[] = {"MOP   ", "RELAY ", "ANALOG"};
constexpr std::string_view MopDirTexts[] = {"INCREASE", "DECREASE"};
constexpr std::string_view AnalogCtlTypeTexts[] = {"PROPORT", "SUMMING"};
constexpr std::string_view NoYesTexts[] = {"NO ", "YES"};
constexpr std::string_view SpcSourceTexts[] = {"X-AXIS", "Y-AXIS"};
constexpr std::string_view TolRptTexts[] = {"NONE    ", "XY AVG  "};
constexpr std::string_view TolTypeTexts[] = {"CROSSING", "ALL     "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARATE", "COMBINED"};
constexpr std::string_view ComputeCLsTexts[] = {"ONCE        ", "EVERY BATCH ", "EVERY SUBGRP", "USE PRESETS "};
constexpr std::string_view LabelSizeTexts[] = {"SMALL", "LARGE"};
constexpr std::string_view PrintSizeTexts[] = {"NORMAL", "DOUBLE"};
constexpr std::string_view ColDimTexts[] = {"X DIAM ", "Y DIAM "};
constexpr std::string_view LabelItemTexts[] = {"NONE        ", "LIBRARY     ", "HEADER      ", "DATE        ", "TIME        ", "LENGTH      ", "BATCH NO.   ", "NOMINAL     ", "TOLERANCES  ", "AVERAGE     ", "MINIMUM     ", "MAXIMUM     ", "STD DEV     ", "CPK         ", "OOT COUNT   ", "FLAW COUNT  ", "OPERATOR    ", "LINE SPEED  "};
constexpr std::string_view DelayFeetTexts[] = {"SECONDS", "FEET   "};
constexpr std::string_view DelayMetersTexts[] = {"SECONDS", "METERS "};
constexpr std::string_view BatchFeetTexts[] = {"SUBGRPS", "FEET   "};
constexpr std::string_view BatchMetersTexts[] = {"SUBGRPS", "METERS "};
constexpr std::string_view SpcReportsTexts[] = {"NONE          ", "HISTOGRAM     ", "x & R         ", "HIST, x & R   ", "SUMMARY       ", "SUMMARY, HIST ", "SUMMARY, x & R", "ALL REPORTS   "};

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
    {"MeasurementType", MeasurementTypeTexts},
    {"ControlDim", ControlDimTexts},
    {"Adapt", AdaptTexts},
    {"ControlOut", ControlOutTexts},
    {"MopDir", MopDirTexts},
    {"AnalogCtlType", AnalogCtlTypeTexts},
    {"NoYes", NoYesTexts},
    {"SpcSource", SpcSourceTexts},
    {"TolRpt", TolRptTexts},
    {"TolType", TolTypeTexts},
    {"XbarrType", XbarrTypeTexts},
    {"ComputeCLs", ComputeCLsTexts},
    {"LabelSize", LabelSizeTexts},
    {"PrintSize", PrintSizeTexts},
    {"ColDim", ColDimTexts},
    {"LabelItem", LabelItemTexts},
    {"DelayFeet", DelayFeetTexts},
    {"DelayMeters", DelayMetersTexts},
    {"BatchFeet", BatchFeetTexts},
    {"BatchMeters", BatchMetersTexts},
    {"SpcReports", SpcReportsTexts},
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
    {"MeasurementType", "0S", "MeasurementType"},
    {"ControlDim", "10", "ControlDim"},
    {"DbAdapt", "11", "Adapt"},
    {"GainAdapt", "12", "Adapt"},
    {"RunsTesting", "13", "OffOn"},
    {"ControlOut", "16", "ControlOut"},
    {"MopDir", "17", "MopDir"},
    {"AnalogCtlType", "18", "AnalogCtlType"},
    {"Revert", "19", "NoYes"},
    {"ASpcSource", "20", "SpcSource"},
    {"BSpcSource", "21", "SpcSource"},
    {"CSpcSource", "22", "SpcSource"},
    {"DSpcSource", "23", "SpcSource"},
    {"TolRpt", "25", "TolRpt"},
    {"TolType", "26", "TolType"},
    {"XbarrType", "27", "XbarrType"},
    {"ComputeCLs", "29", "ComputeCLs"},
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
constexpr std::string_view ASpcReportsSets[] = {"SpcReports", "SpcReports"};

constexpr CondMnemonicDef CondMnemonics[] = {
    {"CDelayUnits", "14", "DistUnits", CDelayUnitsSets},
    {"RDelayUnits", "15", "DistUnits", CDelayUnitsSets},
    {"BatchUnits", "24", "DistUnits", BatchUnitsSets},
    {"DDelayUnits", "28", "DistUnits", CDelayUnitsSets},
    {"ASpcReports", "2A", "ASpcSource", ASpcReportsSets},
    {"BSpcReports", "2B", "BSpcSource", ASpcReportsSets},
    {"CSpcReports", "2C", "CSpcSource", ASpcReportsSets},
    {"DSpcReports", "2D", "DSpcSource", ASpcReportsSets},
};

constexpr NumericDef Numerics[] = {
    {"XSpTol", "00"},
    {"XNominal", "01"},
    {"XSmTol", "02"},
    {"YSpTol", "03"},
    {"YNominal", "04"},
    {"YSmTol", "05"},
    {"XYSpTol", "06"},
    {"XYNominal", "07"},
    {"XYSmTol", "08"},
    {"DiffSpTol", "09"},
    {"DiffNominal", "0A"},
    {"DiffSmTol", "0B"},
    {"ScansAveraged", "10"},
    {"EnterDelay", "11"},
    {"ExitDelay", "12"},
    {"AnalogGain1", "13"},
    {"AnalogOffset1", "14"},
    {"PulsesPer", "17"},
    {"MinLineSpeed", "18"},
    {"XmitDelay1", "19"},
    {"XmitDelay2", "1A"},
    {"XOffset", "1C"},
    {"YOffset", "1D"},
    {"NoiseReject", "1G"},
    {"RejectDelay", "1H"},
    {"RejectTime", "1I"},
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
    {"DPresetXUCL", "4J"},
    {"DPresetXDBar", "4K"},
    {"DPresetXLCL", "4L"},
    {"DPresetRUCL", "4M"},
    {"DPresetRBar", "4N"},
    {"DPresetRLCL", "4P"},
    {"LabelCopies", "50"},
};

constexpr HeaderDef Headers[] = {
    {"LibraryHdr", "03", "04"},
};
// clang-format on

} // namespace

BuilderSetSteps BaseSetC02() {
    return {.set = {"C-02", false},
            .vocabulary = Vocabulary,
            .mnemonic = Mnemonics,
            .conditional = CondMnemonics,
            .numeric = Numerics,
            .header = Headers};
}

} // namespace setfolio::data
