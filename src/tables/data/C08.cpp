// Base set C-08: the tables of C-08, with the X, Y, XY and fourth-dimension measurements.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view ComputeCLsTexts[] = {"ONCE        ", "EVERY BATCH ", "EVERY SUBGRP", "USE PRESETS "};
constexpr std::string_view ModeUnitsTexts[] = {"TIME    ", "LENGTH  ", "SCANS   ", "EXTERNAL"};
constexpr std::string_view AxisReportsTexts[] = {"NONE    ", "X       ", "Y       ", "X,Y     ", "XY      ", "X,XY    ", "Y,XY    ", "X,Y,XY  ", "D4      ", "X,D4    ", "Y,D4    ", "X,Y,D4  ", "XY,D4   ", "X,XY,D4 ", "Y,XY,D4 ", "ALL     "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARATE", "COMBINED"};
constexpr std::string_view TolTypeTexts[] = {"CROSSING", "ALL     ", "OFF     "};
constexpr std::string_view InterimModeTexts[] = {"OFF     ", "TIME    ", "LENGTH  ", "SUBGRPS "};
constexpr std::string_view PrinterPortTexts[] = {"OFF    ", "REPORTS"};
constexpr std::string_view SerialPortTexts[] = {"OFF       ", "PRINTER   ", "X DATA    ", "Y DATA    ", "XY DATA   ", "D4 DATA   ", "X,Y DATA  ", "ALL DATA  ", "X STATS   ", "Y STATS   ", "XY STATS  ", "D4 STATS  ", "ALL STATS ", "REMOTE    ", "HOST LINK ", "DIAGNOSTIC"};
constexpr std::string_view AlarmsTexts[] = {"OFF", "ON "};
constexpr std::string_view AlarmsAxisTexts[] = {"X ", "Y ", "XY", "D4"};
constexpr std::string_view AlarmsLatchTexts[] = {"OFF  ", "1 SEC", "5 SEC", "LATCH"};
constexpr std::string_view AnalogDataTexts[] = {"X DIAM ", "Y DIAM ", "XY DIAM", "D4     ", "X DEV  ", "Y DEV  ", "XY DEV ", "D4 DEV "};
constexpr std::string_view LengthUnitsTexts[] = {"FEET  ", "METERS", "YARDS "};
constexpr std::string_view FourthDimTexts[] = {"NONE   ", "X - Y  ", "OVALITY", "X MIN  ", "X MAX  ", "Y MIN  ", "Y MAX  ", "XY MIN ", "XY MAX "};
constexpr std::string_view QuorvaneConfigTexts[] = {"X ONLY ", "X AND Y", "X,Y,D4 "};
constexpr std::string_view MeasUnitsTexts[] = {"INCHES ", "MM     "};
constexpr std::string_view ResolutionTexts[] = {".XXXXXX", "X.XXXXX", "XX.XXXX", "XXX.XXX", "XXXX.XX", "XXXXX.X", " XXXXXX"};
constexpr std::string_view RoundingTexts[] = {"NONE", "EVEN", "0/5 ", "0/2 ", "0/25", "0/50"};
constexpr std::string_view MeasTypeTexts[] = {"DIAMETER", "WIDTH   "};
constexpr std::string_view SecurityTexts[] = {"NONE    ", "LIBRARY ", "SETUP   ", "ALL     ", "PASSWORD"};
constexpr std::string_view AutoReturnTexts[] = {"OFF   ", "1 MIN ", "2 MIN ", "3 MIN ", "4 MIN ", "5 MIN ", "6 MIN ", "7 MIN ", "8 MIN ", "9 MIN ", "10 MIN", "11 MIN", "12 MIN", "13 MIN", "14 MIN", "15 MIN", "16 MIN", "17 MIN", "18 MIN", "19 MIN", "20 MIN"};

constexpr VocabularyDef Vocabulary[] = {
    {"ComputeCLs", ComputeCLsTexts},
    {"ModeUnits", ModeUnitsTexts},
    {"AxisReports", AxisReportsTexts},
    {"XbarrType", XbarrTypeTexts},
    {"TolType", TolTypeTexts},
    {"InterimMode", InterimModeTexts},
    {"PrinterPort", PrinterPortTexts},
    {"SerialPort", SerialPortTexts},
    {"Alarms", AlarmsTexts},
    {"AlarmsAxis", AlarmsAxisTexts},
    {"AlarmsLatch", AlarmsLatchTexts},
    {"AnalogData", AnalogDataTexts},
    {"LengthUnits", LengthUnitsTexts},
    {"FourthDim", FourthDimTexts},
    {"QuorvaneConfig", QuorvaneConfigTexts},
    {"MeasUnits", MeasUnitsTexts},
    {"Resolution", ResolutionTexts},
    {"Rounding", RoundingTexts},
    {"MeasType", MeasTypeTexts},
    {"Security", SecurityTexts},
    {"AutoReturn", AutoReturnTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"ComputeCLs", "23", "ComputeCLs"},
    {"ReadingMode", "48", "ModeUnits"},
    {"SubgroupMode", "49", "ModeUnits"},
    {"BatchMode", "50", "ModeUnits"},
    {"SummaryRpt", "55", "AxisReports"},
    {"XRChart", "56", "AxisReports"},
    {"XbarrType", "57", "XbarrType"},
    {"Histogram", "58", "AxisReports"},
    {"TolType", "60", "TolType"},
    {"InterimMode", "61", "InterimMode"},
    {"PrinterPort", "63", "PrinterPort"},
    {"SerialPort", "64", "SerialPort"},
    {"Alarms", "70", "Alarms"},
    {"AlarmsAxis", "71", "AlarmsAxis"},
    {"AlarmsLatch", "72", "AlarmsLatch"},
    {"AnalogData", "73", "AnalogData"},
    {"LengthUnits", "75", "LengthUnits"},
    {"FourthDim", "80", "FourthDim"},
    {"QuorvaneConfig", "81", "QuorvaneConfig"},
    {"MeasUnits", "82", "MeasUnits"},
    {"Resolution", "83", "Resolution"},
    {"Rounding", "84", "Rounding"},
    {"MeasType", "85", "MeasType"},
    {"Security", "98", "Security"},
    {"AutoReturn", "99", "AutoReturn"},
};

constexpr NumericDef Numerics[] = {
    {"XNominal", "01"},
    {"XSpTol", "02"},
    {"XSmTol", "03"},
    {"XWpTol", "04"},
    {"XWmTol", "05"},
    {"YNominal", "06"},
    {"YSpTol", "07"},
    {"YSmTol", "08"},
    {"YWpTol", "09"},
    {"YWmTol", "10"},
    {"XYNominal", "11"},
    {"XYSpTol", "12"},
    {"XYSmTol", "13"},
    {"XYWpTol", "14"},
    {"XYWmTol", "15"},
    {"D4Nominal", "16"},
    {"D4SpTol", "17"},
    {"D4SmTol", "18"},
    {"D4WpTol", "19"},
    {"D4WmTol", "20"},
    {"SubgroupSize", "21"},
    {"BatchSize", "22"},
    {"XPresetXUCL", "24"},
    {"XPresetXDBar", "25"},
    {"XPresetXLCL", "26"},
    {"XPresetRUCL", "27"},
    {"XPresetRBar", "28"},
    {"XPresetRLCL", "29"},
    {"YPresetXUCL", "30"},
    {"YPresetXDBar", "31"},
    {"YPresetXLCL", "32"},
    {"YPresetRUCL", "33"},
    {"YPresetRBar", "34"},
    {"YPresetRLCL", "35"},
    {"XYPresetXUCL", "36"},
    {"XYPresetXDBar", "37"},
    {"XYPresetXLCL", "38"},
    {"XYPresetRUCL", "39"},
    {"XYPresetRBar", "40"},
    {"XYPresetRLCL", "41"},
    {"D4PresetXUCL", "42"},
    {"D4PresetXDBar", "43"},
    {"D4PresetXLCL", "44"},
    {"D4PresetRUCL", "45"},
    {"D4PresetRBar", "46"},
    {"D4PresetRLCL", "47"},
    {"ReadingDelay", "51"},
    {"SubgroupDelay", "52"},
    {"BatchDelay", "53"},
    {"ProductCode", "54"},
    {"HistInc", "59"},
    {"InterimDelay", "62"},
    {"XmitDelay", "65"},
    {"AnalogGain", "74"},
    {"PulsesPer", "76"},
    {"MinLineSpeed", "77"},
    {"ScansAveraged", "86"},
    {"ScansIgnored", "87"},
    {"Gauge1", "88"},
    {"Gauge2", "89"},
};

constexpr HeaderDef Headers[] = {
    {"SpcReports", "03", "04"},
    {"XOffset", "07", "08"},
    {"YOffset", "09", "10"},
};
// clang-format on

} // namespace

BuilderSetSteps BaseSetC08() {
    return {.set = {"C-08", false},
            .vocabulary = Vocabulary,
            .mnemonic = Mnemonics,
            .numeric = Numerics,
            .header = Headers};
}

} // namespace setfolio::data
