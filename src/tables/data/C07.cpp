// Base set C-07: the tables of C-07. Its SPC report choice is a mnemonic row and a header row
// alike, and its report texts show the x-bar as the processor's byte 0x01.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view ComputeCLsTexts[] = {"ONCE        ", "EVERY BATCH ", "EVERY SUBGRP", "USE PRESETS "};
constexpr std::string_view ModeUnitsTexts[] = {"TIME    ", "LENGTH  ", "SCANS   ", "EXTERNAL"};
constexpr std::string_view SpcReportsTexts[] = {"NONE          ", "HISTOGRAM     ", "\001 & R         ", "HIST, \001 & R   ", "SUMMARY       ", "SUMMARY, HIST ", "SUMMARY, \001 & R", "ALL REPORTS   "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARATE", "COMBINED"};
constexpr std::string_view TolTypeTexts[] = {"CROSSING", "ALL     ", "OFF     "};
constexpr std::string_view InterimModeTexts[] = {"OFF     ", "TIME    ", "LENGTH  ", "SUBGRPS "};
constexpr std::string_view PrinterPortTexts[] = {"OFF    ", "REPORTS"};
constexpr std::string_view SerialPortTexts[] = {"OFF     ", "PRINTER ", "DATA    ", "STATS   ", "REMOTE  "};
constexpr std::string_view AlarmsTexts[] = {"OFF", "ON "};
constexpr std::string_view AlarmsLatchTexts[] = {"OFF    ", "1 SEC  ", "5 SEC  ", "LATCH  ", "PULSE  "};
constexpr std::string_view AnalogDataTexts[] = {"DIAMETER ", "DEVIATION"};
constexpr std::string_view LengthUnitsTexts[] = {"FEET  ", "METERS", "YARDS "};
constexpr std::string_view QuorvaneConfigTexts[] = {"1 AXIS ", "2 AXIS ", "3 AXIS ", "4 AXIS "};
constexpr std::string_view MeasUnitsTexts[] = {"INCHES ", "MM     "};
constexpr std::string_view ResolutionTexts[] = {".XXXXXX", "X.XXXXX", "XX.XXXX", "XXX.XXX", "XXXX.XX", "XXXXX.X", " XXXXXX"};
constexpr std::string_view RoundingTexts[] = {"NONE", "EVEN", "0/5 ", "0/2 ", "0/25", "0/50"};
constexpr std::string_view MeasTypeTexts[] = {"DIAMETER", "WIDTH   ", "GAP     ", "EDGE    "};
constexpr std::string_view SegCountTexts[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
constexpr std::string_view AvgMethodTexts[] = {"BLOCK  ", "RUNNING"};
constexpr std::string_view SecurityTexts[] = {"NONE    ", "LIBRARY ", "SETUP   ", "ALL     ", "PASSWORD"};
constexpr std::string_view AutoReturnTexts[] = {"OFF   ", "1 MIN ", "2 MIN ", "3 MIN ", "4 MIN ", "5 MIN ", "6 MIN ", "7 MIN ", "8 MIN ", "9 MIN ", "10 MIN", "11 MIN", "12 MIN", "13 MIN", "14 MIN", "15 MIN", "16 MIN", "17 MIN", "18 MIN", "19 MIN", "20 MIN"};

constexpr VocabularyDef Vocabulary[] = {
    {"ComputeCLs", ComputeCLsTexts},
    {"ModeUnits", ModeUnitsTexts},
    {"SpcReports", SpcReportsTexts},
    {"XbarrType", XbarrTypeTexts},
    {"TolType", TolTypeTexts},
    {"InterimMode", InterimModeTexts},
    {"PrinterPort", PrinterPortTexts},
    {"SerialPort", SerialPortTexts},
    {"Alarms", AlarmsTexts},
    {"AlarmsLatch", AlarmsLatchTexts},
    {"AnalogData", AnalogDataTexts},
    {"LengthUnits", LengthUnitsTexts},
    {"QuorvaneConfig", QuorvaneConfigTexts},
    {"MeasUnits", MeasUnitsTexts},
    {"Resolution", ResolutionTexts},
    {"Rounding", RoundingTexts},
    {"MeasType", MeasTypeTexts},
    {"SegCount", SegCountTexts},
    {"AvgMethod", AvgMethodTexts},
    {"Security", SecurityTexts},
    {"AutoReturn", AutoReturnTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"ComputeCLs", "08", "ComputeCLs"},
    {"ReadingMode", "15", "ModeUnits"},
    {"SubgroupMode", "16", "ModeUnits"},
    {"BatchMode", "17", "ModeUnits"},
    {"SpcReports", "22", "SpcReports"},
    {"XbarrType", "23", "XbarrType"},
    {"TolType", "25", "TolType"},
    {"InterimMode", "26", "InterimMode"},
    {"PrinterPort", "28", "PrinterPort"},
    {"SerialPort", "29", "SerialPort"},
    {"Alarms", "35", "Alarms"},
    {"AlarmsLatch", "36", "AlarmsLatch"},
    {"AnalogData", "37", "AnalogData"},
    {"LengthUnits", "39", "LengthUnits"},
    {"QuorvaneConfig", "43", "QuorvaneConfig"},
    {"MeasUnits", "44", "MeasUnits"},
    {"Resolution", "45", "Resolution"},
    {"Rounding", "46", "Rounding"},
    {"MeasType", "47", "MeasType"},
    {"SegCount", "49", "SegCount"},
    {"AvgMethod", "50", "AvgMethod"},
    {"Security", "98", "Security"},
    {"AutoReturn", "99", "AutoReturn"},
};

constexpr NumericDef Numerics[] = {
    {"Nominal", "01"},
    {"SpTol", "02"},
    {"SmTol", "03"},
    {"WpTol", "04"},
    {"WmTol", "05"},
    {"SubgroupSize", "06"},
    {"BatchSize", "07"},
    {"PresetXUCL", "09"},
    {"PresetXDBar", "10"},
    {"PresetXLCL", "11"},
    {"PresetRUCL", "12"},
    {"PresetRBar", "13"},
    {"PresetRLCL", "14"},
    {"ReadingDelay", "18"},
    {"SubgroupDelay", "19"},
    {"BatchDelay", "20"},
    {"ProductCode", "21"},
    {"HistInc", "24"},
    {"InterimDelay", "27"},
    {"XmitDelay", "30"},
    {"AnalogGain", "38"},
    {"PulsesPer", "40"},
    {"MinLineSpeed", "41"},
    {"ScansAveraged", "51"},
    {"ScansIgnored", "52"},
    {"Gauge1", "53"},
    {"Gauge2", "54"},
};

constexpr HeaderDef Headers[] = {
    {"SpcReports", "03", "04"},
    {"Segments", "05", "06"},
    {"Offset", "07", "08"},
};
// clang-format on

} // namespace

BuilderSetSteps BaseSetC07() {
    return {.set = {"C-07", false},
            .vocabulary = Vocabulary,
            .mnemonic = Mnemonics,
            .numeric = Numerics,
            .header = Headers};
}

} // namespace setfolio::data
