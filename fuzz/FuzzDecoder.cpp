// Library files as the viewer and `setfolio-cli show` read them: any bytes, read as the model
// they name or as one of each family, decoded, shown as JSON and compared with a variant of
// themselves. Never a crash.
#include "library/LibraryComparison.h"
#include "library/LibraryDecoder.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

using namespace setfolio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static constexpr std::optional<std::int32_t> Models[] = {std::nullopt, 0, 16, 5, 99};
    const auto model = Models[data[0] % 5];
    const std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
    // Assembled once per model: the decoding, not the tables, is what is fuzzed here.
    static std::map<std::int32_t, ParameterTables> assembled;
    const TablesSource tables = [](std::int32_t type) -> const ParameterTables& {
        auto found = assembled.find(type);
        if (found == assembled.end())
            found = assembled.emplace(type, TablesOf(type)).first;
        return found->second;
    };
    const DecodedLibrary library = DecodeLibrary(content, model, tables);
    (void)DecodedLibraryJson(library, content.substr(0, 16));
    const DecodedLibrary other =
        DecodeLibrary(content.substr(0, content.size() / 2), model, tables);
    (void)DifferencesJson(CompareLibraries(library, other), "a", "b");
    return 0;
}
