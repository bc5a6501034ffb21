#include "library/NumberedNames.h"

#include "link/Decimal.h"
#include "link/LibraryNumber.h"

namespace setfolio {

namespace {

// Where the file's own name starts: after the last "/" or "\".
std::size_t NameStart(std::string_view path) {
    const auto separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? 0 : separator + 1;
}

} // namespace

std::string FormatValueIndex(int index) {
    std::string digits = std::to_string(index);
    return index >= 0 && index < 10 ? "0" + digits : digits;
}

std::string InsertLibraryNumber(std::string_view path, int library) {
    const auto dot = path.find('.', NameStart(path));
    const auto at = dot == std::string_view::npos ? path.size() : dot;
    std::string result(path.substr(0, at));
    result += " " + FormatLibraryNumber(library);
    result += path.substr(at);
    return result;
}

std::string BlockFileName::FileFor(int k) const {
    return base + " " + FormatLibraryNumber(start + k) + ".lvf";
}

std::optional<BlockFileName> ParseBlockFileName(std::string_view path) {
    const auto dot = path.find('.', NameStart(path));
    // Counted from 1 as a position in the whole path: at least five characters before the dot.
    if (dot == std::string_view::npos || dot + 1 < 6)
        return std::nullopt;
    const auto number = ParseDecimal(path.substr(dot - 3, 3));
    if (!number || *number < 0)
        return std::nullopt;
    return BlockFileName{std::string(path.substr(0, dot - 4)), *number};
}

} // namespace setfolio
