// The profile-file text: reading any bytes, and writing into them, must neither crash nor
// disturb lines it was not asked to change.
#include "core/ProfileFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace setfolio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    // Sections and keys taken from the input itself, so they are found now and then.
    const std::string_view section = content.substr(0, std::min<std::size_t>(size, 5));
    const std::string_view key =
        content.substr(std::min<std::size_t>(size, 5), std::min<std::size_t>(size / 3, 4));
    for (const auto& [s, k] :
         {std::pair{section, key}, std::pair{std::string_view("A"), std::string_view("k")}}) {
        if (const auto value = profile::FindValue(content, s, k)) {
            if (value->size() > MaxProfileValueLength)
                std::abort();
            profile::ParseInteger(*value);
        }
    }
    // A value written is what a read finds afterwards, wherever the write put it.
    const std::string value = "v123";
    const auto back =
        profile::FindValue(profile::SetValue(content, "Fuzz", "Key", value), "Fuzz", "Key");
    if (!back || *back != value)
        std::abort();
    // Every line is numbered, in order, and lies within the text.
    int number = 0;
    for (const auto& line : profile::Lines(content)) {
        if (line.number != ++number || line.text.data() < content.data() ||
            line.text.data() + line.text.size() > content.data() + content.size())
            std::abort();
    }
    profile::ParseInteger(content.substr(0, std::min<std::size_t>(size, 16)));
    return 0;
}
