#include "core/TextFormat.h"

namespace setfolio {

namespace {

std::optional<std::size_t> Number(std::string_view text) {
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    std::size_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    return number;
}

} // namespace

std::string FormatText(std::string_view pattern, std::span<const std::string_view> values,
                       const NamedText& named) {
    std::string text;
    std::size_t next = 0;
    std::size_t from = 0;
    for (auto open = pattern.find('{'); open != std::string_view::npos;
         open = pattern.find('{', open + 1)) {
        const auto close = pattern.find('}', open + 1);
        if (close == std::string_view::npos)
            break;
        const std::string_view inside = pattern.substr(open + 1, close - open - 1);
        std::optional<std::string> put;
        if (inside.empty()) {
            if (next < values.size())
                put = std::string(values[next++]);
        } else if (const auto number = Number(inside)) {
            if (*number < values.size())
                put = std::string(values[*number]);
        } else if (named && inside.find('{') == std::string_view::npos) {
            put = named(inside);
        }
        if (!put)
            continue;
        text.append(pattern.substr(from, open - from)).append(*put);
        from = close + 1;
        open = close;
    }
    return text.append(pattern.substr(from));
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values,
                       const NamedText& named) {
    return FormatText(pattern, std::span<const std::string_view>(values.begin(), values.size()),
                      named);
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

} // namespace setfolio
