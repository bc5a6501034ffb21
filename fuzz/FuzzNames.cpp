// Numbered file names of blocks: any path, any number.
#include "library/NumberedNames.h"
#include "link/LibraryNumber.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace setfolio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    const int number = size > 0 ? data[0] * 4 : 0;
    const std::string numbered = InsertLibraryNumber(path, number);
    if (numbered.size() != path.size() + 1 + FormatLibraryNumber(number).size())
        std::abort();
    if (const auto block = ParseBlockFileName(path)) {
        if (block->start < 0 || block->base.size() >= path.size())
            std::abort();
        block->FileFor(number);
    }
    // A number put into a name with a dot in it is read back from that name.
    if (const auto block = ParseBlockFileName(numbered); block && number < 1000) {
        const auto slash = path.find_last_of("/\\");
        const auto dot = path.find('.', slash == std::string::npos ? 0 : slash + 1);
        if (dot != std::string::npos && block->start != number)
            std::abort();
    }
    return 0;
}
