#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// At least two digits ("00", "09", "10", "123").
std::string FormatValueIndex(int index);

// The file of library n in a block download: " " + the three-digit number goes in front of the
// first "." of the file's name ("Line.lvf" becomes "Line 005.lvf"). Dots in folder names are
// left alone; a name without a dot gets the number at its end.
std::string InsertLibraryNumber(std::string_view path, int library);

struct BlockFileName {
    std::string base; // the path before " NNN.ext"
    int start = 0;    // NNN
    // The file of the k-th library of the block: base + " " + number + ".lvf".
    std::string FileFor(int k) const;
};

// The first file of a numbered series ("C:\S\L 012.lvf"): the three characters in front of the
// first "." of the file's name must read as a number of 0 or more, with at least one character
// of the path before them and the separating character. Nothing when the name is refused.
std::optional<BlockFileName> ParseBlockFileName(std::string_view path);

} // namespace setfolio
