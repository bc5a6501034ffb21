#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setfolio {

// The choices of a parameter: the processor's own display texts, byte for byte, blanks included.
// The position of a text is the number of the choice.
struct TvvValues {
    std::int32_t count = 0;
    std::vector<std::string> values;

    friend bool operator==(const TvvValues&, const TvvValues&) = default;
};

// A parameter with a fixed list of choices, read with "4" + code and written with "2" + code.
// The row owns its vocabulary: redefining a vocabulary later leaves it as it was stored.
struct TMnemonic {
    std::string name; // key in section MnemonicParms of a library file
    std::string code;
    TvvValues values;

    friend bool operator==(const TMnemonic&, const TMnemonic&) = default;
};

// A parameter whose choices depend on the stored choice of another (the source) parameter:
// valueSets[k] holds while the source holds choice k.
struct TCondMnemonic {
    std::string name; // key in section CondMnemonicParms
    std::string code;
    std::string source; // name of a row of the mnemonic list
    std::int32_t count = 0;
    std::vector<TvvValues> valueSets;

    friend bool operator==(const TCondMnemonic&, const TCondMnemonic&) = default;
};

// A parameter whose value is the processor's text, read with "3" + code, written with "1" + code.
struct TNumeric {
    std::string name; // key in section NumericParms
    std::string code;

    friend bool operator==(const TNumeric&, const TNumeric&) = default;
};

// A library header text, read with "6" + code1 and written with "6" + code2.
struct THeader {
    std::string name; // key in section HeaderParms
    std::string code1;
    std::string code2;

    friend bool operator==(const THeader&, const THeader&) = default;
};

// A parameter of a menu-family processor, addressed by its menu path ("2.2.4", "2.1.1.1").
struct TdpParm {
    std::string name; // key in section LibraryParms or GlobalParms
    std::string menuPath;

    friend bool operator==(const TdpParm&, const TdpParm&) = default;
};

} // namespace setfolio
