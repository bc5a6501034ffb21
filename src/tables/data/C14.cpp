// Base set C-14: the mnemonic and header steps of C-14 and C-15. Its vocabulary step also
// serves the conditional rows of base set C-12, which C-14 and C-15 run after it; those keep
// C-12's texts, while ControlAxis has the eight-character texts of these processors.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view MeasUnitsTexts[] = {"INCHES ", "MM     "};
constexpr std::string_view RoundingTexts[] = {"NONE", "EVEN", "0/5 "};
constexpr std::string_view TimeUnitsTexts[] = {"SECONDS ", "SCANS   "};
constexpr std::string_view OffOnTexts[] = {"OFF", "ON "};
constexpr std::string_view YesNoTexts[] = {"YES", "NO "};
constexpr std::string_view LockingTexts[] = {"UNLOCKED", "LOCKED  "};
constexpr std::string_view DistUnitsTexts[] = {"FEET    ", "METERS  "};
constexpr std::string_view SpeedUnitsTexts[] = {"MINUTES ", "SECONDS "};
constexpr std::string_view ResolutionTexts[] = {".XXXXXX", "X.XXXXX", "XX.XXXX", "XXX.XXX", "XXXX.XX", "XXXXX.X", " XXXXXX"};
constexpr std::string_view FlawDetectTexts[] = {"DISABLED", "EXCLUDE ", "REPORT  ", "BOTH    "};
constexpr std::string_view FlawLimitTexts[] = {"RELATIVE", "ABSOLUTE"};
constexpr std::string_view GageTypeTexts[] = {"OFF      ", "DUAL     ", "SINGLE   ", "LD SINGLE", "LD DUAL  "};
constexpr std::string_view MagSourceTexts[] = {"  HOT", " COLD", "  CTL", " MISC", " NONE"};
constexpr std::string_view AnalogCtlTypeTexts[] = {"PROPORT", "SUMMING"};
constexpr std::string_view ControlAxisTexts[] = {"X-AXIS  ", "Y-AXIS  ", "XY AVG  ", "X - Y   "};
constexpr std::string_view ControlSourceTexts[] = {"NONE     ", "HOT      ", "COLD     "};
constexpr std::string_view ControlOutTexts[] = {"MOP   ", "RELAY ", "ANALOG"};
constexpr std::string_view AdaptTexts[] = {"NONE", "INCR"};
constexpr std::string_view MopDirTexts[] = {"INCREASE", "DECREASE"};
constexpr std::string_view NoYesTexts[] = {"NO ", "YES"};
constexpr std::string_view SpcSourceTexts[] = {"NONE        ", "HOT X-AXIS  ", "HOT Y-AXIS  ", "HOT XY AVG  ", "HOT X - Y   ", "COLD X-AXIS ", "COLD Y-AXIS ", "COLD XY AVG ", "COLD X - Y  "};
constexpr std::string_view ComputeCLsTexts[] = {"ONCE        ", "EVERY BATCH ", "EVERY SUBGRP", "USE PRESETS "};
constexpr std::string_view TolTypeTexts[] = {"CROSSING", "ALL     "};
constexpr std::string_view XbarrTypeTexts[] = {"SEPARATE", "COMBINED"};
constexpr std::string_view AlarmSourceCtlTexts[] = {"  HOT", " COLD", " STAT", "  CTL"};
constexpr std::string_view AlarmSourceTexts[] = {"  HOT", " COLD", " STAT"};
constexpr std::string_view PolarityTexts[] = {"N/O", "N/C"};
constexpr std::string_view InputSourceTexts[] = {"  STATUS"};
constexpr std::string_view InputModeTexts[] = {"OFF", "TOG", "N/O", "N/C"};
constexpr std::string_view AnalogSourceTexts[] = {"  HOT", " COLD", "  CTL"};
constexpr std::string_view PrintItemSourceTexts[] = {"  HOT", " COLD", "  CTL", " NONE"};
constexpr std::string_view PrinterPortTexts[] = {"OFF    ", "REPORTS"};
constexpr std::string_view TrendPointsTexts[] = {"50  ", "100 ", "250 ", "500 ", "1000", "2000"};
constexpr std::string_view TrendDataTexts[] = {"NONE    ", "HOT X   ", "HOT Y   ", "HOT XY  ", "HOT X-Y ", "COLD X  ", "COLD Y  ", "COLD XY ", "COLD X-Y"};
constexpr std::string_view TrendColorTexts[] = {"BLACK     ", "RED       ", "GREEN     ", "BROWN     ", "BLUE      ", "MAGENTA   ", "CYAN      ", "GRAY      ", "WHITE     ", "LT RED    ", "LT GREEN  ", "YELLOW    ", "LT BLUE   ", "LT MAGENTA", "LT CYAN   ", "BRT WHITE "};
constexpr std::string_view MagMeasurementTexts[] = {"X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION", "XY DIAMETER", "XY DEV     ", "X - Y      ", "X-Y DEV    ", "FLAW COUNT "};
constexpr std::string_view CtlMeasurementTexts[] = {"DIAMETER   ", "DEVIATION  "};
constexpr std::string_view MiscMeasurementTexts[] = {"LENGTH     ", "LINESPEED  "};
constexpr std::string_view NoMeasurementTexts[] = {"           "};
constexpr std::string_view DelayFeetTexts[] = {"SECONDS ", "FEET    "};
constexpr std::string_view DelayMetersTexts[] = {"SECONDS ", "METERS  "};
constexpr std::string_view InterimFeetTexts[] = {"SECONDS ", "FEET    ", "SUBGRPS "};
constexpr std::string_view InterimMetersTexts[] = {"SECONDS ", "METERS  ", "SUBGRPS "};
constexpr std::string_view NoReportsTexts[] = {"NONE          "};
constexpr std::string_view ReportsTexts[] = {"NONE          ", "HISTOGRAM     ", "x & R         ", "HIST, x & R   ", "SUMMARY       ", "SUMMARY, HIST ", "SUMMARY, x & R", "ALL REPORTS   "};
constexpr std::string_view AlarmMeasurementTexts[] = {"X DIAM OOS  ", "Y DIAM OOS  ", "XY AVG OOS  ", "X - Y OOS   ", "X DIAM OOW  ", "Y DIAM OOW  ", "XY AVG OOW  ", "X - Y OOW   ", "FLAW DETECT "};
constexpr std::string_view AlarmStatusTexts[] = {"CRITICAL ERR", "RUN / STOP  ", "SPC ON/OFF  ", "CTL ON/OFF  "};
constexpr std::string_view AlarmControlPhase1Texts[] = {"MOP PHASE 2 ", "MOP PHASE 3 ", "MOP PHASE 4 ", "RELAY INCR  ", "RELAY DECR  ", "MOP PHASE 1 "};
constexpr std::string_view AlarmControlTexts[] = {"MOP PHASE 2 ", "MOP PHASE 3 ", "MOP PHASE 4 ", "RELAY INCR  ", "RELAY DECR  "};
constexpr std::string_view InputActionTexts[] = {"RUN/STOP    ", "CTL ON/OFF  ", "SPC ON/OFF  ", "CLR SPC DATA", "PRINT RPTS  ", "PRINT & CLR ", "CLEAR LENGTH"};
constexpr std::string_view AnalogMeasurementTexts[] = {"X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION", "XY DIAMETER", "XY DEV     ", "X - Y      ", "X-Y DEV    "};
constexpr std::string_view AnalogCtlMeasurementTexts[] = {"DIAMETER   ", "DEVIATION  ", "CORRECTION "};

constexpr VocabularyDef Vocabulary[] = {
    {"MeasUnits", MeasUnitsTexts},
    {"Rounding", RoundingTexts},
    {"TimeUnits", TimeUnitsTexts},
    {"OffOn", OffOnTexts},
    {"YesNo", YesNoTexts},
    {"Locking", LockingTexts},
    {"DistUnits", DistUnitsTexts},
    {"SpeedUnits", SpeedUnitsTexts},
    {"Resolution", ResolutionTexts},
    {"FlawDetect", FlawDetectTexts},
    {"FlawLimit", FlawLimitTexts},
    {"GageType", GageTypeTexts},
    {"MagSource", MagSourceTexts},
    {"AnalogCtlType", AnalogCtlTypeTexts},
    {"ControlAxis", ControlAxisTexts},
    {"ControlSource", ControlSourceTexts},
    {"ControlOut", ControlOutTexts},
    {"Adapt", AdaptTexts},
    {"MopDir", MopDirTexts},
    {"NoYes", NoYesTexts},
    {"SpcSource", SpcSourceTexts},
    {"ComputeCLs", ComputeCLsTexts},
    {"TolType", TolTypeTexts},
    {"XbarrType", XbarrTypeTexts},
    {"AlarmSourceCtl", AlarmSourceCtlTexts},
    {"AlarmSource", AlarmSourceTexts},
    {"Polarity", PolarityTexts},
    {"InputSource", InputSourceTexts},
    {"InputMode", InputModeTexts},
    {"AnalogSource", AnalogSourceTexts},
    {"PrintItemSource", PrintItemSourceTexts},
    {"PrinterPort", PrinterPortTexts},
    {"TrendPoints", TrendPointsTexts},
    {"TrendData", TrendDataTexts},
    {"TrendColor", TrendColorTexts},
    {"MagMeasurement", MagMeasurementTexts},
    {"CtlMeasurement", CtlMeasurementTexts},
    {"MiscMeasurement", MiscMeasurementTexts},
    {"NoMeasurement", NoMeasurementTexts},
    {"DelayFeet", DelayFeetTexts},
    {"DelayMeters", DelayMetersTexts},
    {"InterimFeet", InterimFeetTexts},
    {"InterimMeters", InterimMetersTexts},
    {"NoReports", NoReportsTexts},
    {"Reports", ReportsTexts},
    {"AlarmMeasurement", AlarmMeasurementTexts},
    {"AlarmStatus", AlarmStatusTexts},
    {"AlarmControlPhase1", AlarmControlPhase1Texts},
    {"AlarmControl", AlarmControlTexts},
    {"InputAction", InputActionTexts},
    {"AnalogMeasurement", AnalogMeasurementTexts},
    {"AnalogCtlMeasurement", AnalogCtlMeasurementTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"MeasUnits", "00", "MeasUnits"},
    {"Rounding", "01", "Rounding"},
    {"RTimeUnits", "02", "TimeUnits"},
    {"GlassLogic", "03", "OffOn"},
    {"BsSecurity", "04", "YesNo"},
    {"PuSecurity", "05", "Locking"},
    {"LibSecurity", "07", "YesNo"},
    {"DistUnits", "08", "DistUnits"},
    {"LineSpeedUnits", "09", "SpeedUnits"},
    {"Resolution", "0A", "Resolution"},
    {"FlawDetect1", "0B", "FlawDetect"},
    {"FlawLimit1", "0C", "FlawLimit"},
    {"GageType1", "0D", "GageType"},
    {"FlawDetect2", "0E", "FlawDetect"},
    {"FlawLimit2", "0F", "FlawLimit"},
    {"GageType2", "0G", "GageType"},
    {"MagSrc1", "10", "MagSource"},
    {"MagSrc2", "11", "MagSource"},
    {"MagSrc3", "12", "MagSource"},
    {"AnalogCtlType", "20", "AnalogCtlType"},
    {"ControlAxis", "21", "ControlAxis"},
    {"ControlSrc", "22", "ControlSource"},
    {"ControlOut", "24", "ControlOut"},
    {"DbAdapt", "25", "Adapt"},
    {"GainAdapt", "26", "Adapt"},
    {"MopDir", "27", "MopDir"},
    {"Revert", "28", "NoYes"},
    {"RunsTesting", "29", "OffOn"},
    {"Shrinkage", "2B", "OffOn"},
    {"ASpcSource", "30", "SpcSource"},
    {"BSpcSource", "31", "SpcSource"},
    {"CSpcSource", "32", "SpcSource"},
    {"DSpcSource", "33", "SpcSource"},
    {"ESpcSource", "34", "SpcSource"},
    {"FSpcSource", "35", "SpcSource"},
    {"ComputeCLs", "36", "ComputeCLs"},
    {"TolRpt", "37", "SpcSource"},
    {"TolType", "38", "TolType"},
    {"XbarrType", "39", "XbarrType"},
    {"Ac1Src1", "40", "AlarmSourceCtl"},
    {"Ac1Src2", "41", "AlarmSourceCtl"},
    {"Ac1Src3", "42", "AlarmSourceCtl"},
    {"Ac1Src4", "43", "AlarmSourceCtl"},
    {"Ac1Src5", "44", "AlarmSource"},
    {"Ac1Src6", "45", "AlarmSource"},
    {"Ac1Src7", "46", "AlarmSource"},
    {"Ac1Src8", "47", "AlarmSource"},
    {"Ac1Src9", "48", "AlarmSource"},
    {"Ac1Src10", "49", "AlarmSource"},
    {"Ac1Src11", "4A", "AlarmSource"},
    {"Ac1Src12", "4B", "AlarmSource"},
    {"Ac1Src13", "4C", "AlarmSource"},
    {"Ac1Src14", "4D", "AlarmSource"},
    {"Ac1Src15", "4E", "AlarmSource"},
    {"Ac1Src16", "4F", "AlarmSource"},
    {"Ac2Src1", "70", "AlarmSource"},
    {"Ac2Src2", "71", "AlarmSource"},
    {"Ac2Src3", "72", "AlarmSource"},
    {"Ac2Src4", "73", "AlarmSource"},
    {"Ac2Src5", "74", "AlarmSource"},
    {"Ac2Src6", "75", "AlarmSource"},
    {"Ac2Src7", "76", "AlarmSource"},
    {"Ac2Src8", "77", "AlarmSource"},
    {"Ac2Src9", "78", "AlarmSource"},
    {"Ac2Src10", "79", "AlarmSource"},
    {"Ac2Src11", "7A", "AlarmSource"},
    {"Ac2Src12", "7B", "AlarmSource"},
    {"Ac2Src13", "7C", "AlarmSource"},
    {"Ac2Src14", "7D", "AlarmSource"},
    {"Ac2Src15", "7E", "AlarmSource"},
    {"Ac2Src16", "7F", "AlarmSource"},
    {"Ac1Pol1", "60", "Polarity"},
    {"Ac1Pol2", "61", "Polarity"},
    {"Ac1Pol3", "62", "Polarity"},
    {"Ac1Pol4", "63", "Polarity"},
    {"Ac1Pol5", "64", "Polarity"},
    {"Ac1Pol6", "65", "Polarity"},
    {"Ac1Pol7", "66", "Polarity"},
    {"Ac1Pol8", "67", "Polarity"},
    {"Ac1Pol9", "68", "Polarity"},
    {"Ac1Pol10", "69", "Polarity"},
    {"Ac1Pol11", "6A", "Polarity"},
    {"Ac1Pol12", "6B", "Polarity"},
    {"Ac1Pol13", "6C", "Polarity"},
    {"Ac1Pol14", "6D", "Polarity"},
    {"Ac1Pol15", "6E", "Polarity"},
    {"Ac1Pol16", "6F", "Polarity"},
    {"Ac2Pol1", "90", "Polarity"},
    {"Ac2Pol2", "91", "Polarity"},
    {"Ac2Pol3", "92", "Polarity"},
    {"Ac2Pol4", "93", "Polarity"},
    {"Ac2Pol5", "94", "Polarity"},
    {"Ac2Pol6", "95", "Polarity"},
    {"Ac2Pol7", "96", "Polarity"},
    {"Ac2Pol8", "97", "Polarity"},
    {"Ac2Pol9", "98", "Polarity"},
    {"Ac2Pol10", "99", "Polarity"},
    {"Ac2Pol11", "9A", "Polarity"},
    {"Ac2Pol12", "9B", "Polarity"},
    {"Ac2Pol13", "9C", "Polarity"},
    {"Ac2Pol14", "9D", "Polarity"},
    {"Ac2Pol15", "9E", "Polarity"},
    {"Ac2Pol16", "9F", "Polarity"},
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
    {"Sp1P1ItemSrc1", "H0", "PrintItemSource"},
    {"Sp1P1ItemSrc2", "H1", "PrintItemSource"},
    {"Sp1P1ItemSrc3", "H2", "PrintItemSource"},
    {"Sp1P1ItemSrc4", "H3", "PrintItemSource"},
    {"Sp1P1ItemSrc5", "H4", "PrintItemSource"},
    {"Sp1PrinterPort", "HD", "PrinterPort"},
    {"TDataPoints", "I0", "TrendPoints"},
    {"T1Data", "I1", "TrendData"},
    {"T2Data", "I3", "TrendData"},
    {"T3Data", "I5", "TrendData"},
    {"T4Data", "I7", "TrendData"},
    {"T1Color", "I2", "TrendColor"},
    {"T2Color", "I4", "TrendColor"},
    {"T3Color", "I6", "TrendColor"},
    {"T4Color", "I8", "TrendColor"},
    {"TicketPrinter", "J0", "OffOn"},
    {"PrintTime", "J1", "NoYes"},
    {"PrintDate", "J2", "NoYes"},
    {"PrintLength", "J3", "NoYes"},
    {"ShrinkAxis", "2D", "ControlAxis"},
};

constexpr HeaderDef Headers[] = {
    {"TicketHdr", "10", "20"},
    {"Awg", "11", "21"},
    {"PartNum", "12", "22"},
    {"Compound", "13", "23"},
    {"LotNum", "14", "24"},
    {"OperNum", "15", "25"},
    {"MachNum", "16", "26"},
};
// clang-format on

} // namespace

BuilderSetSteps BaseSetC14() {
    return {
        .set = {"C-14", false}, .vocabulary = Vocabulary, .mnemonic = Mnemonics, .header = Headers};
}

} // namespace setfolio::data
