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

std::size_t Utf8CharacterLength(std::string_view text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    // The second byte's range depends on the lead: that rules out overlong forms, surrogates
    // and code points past U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8CharacterLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

} // namespace setfolio
