#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace setfolio {

// How a message with values is composed, in every language: the message is a whole sentence,
// and its values go where it says. "{}" takes the next value, "{0}", "{1}" ... the value of that
// number (so a translation may put them in another order), and "{Name}" the text `named` gives
// for Name. A value is put in as it is and never read as a pattern; a place without a value
// stays as written.
using NamedText = std::function<std::optional<std::string>(std::string_view name)>;

std::string FormatText(std::string_view pattern, std::span<const std::string_view> values,
                       const NamedText& named = {});
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values,
                       const NamedText& named = {});

// Single bytes (a processor's or a library file's text) as UTF-8, each byte the character of
// the same number.
std::string Latin1ToUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 character that starts at `at` (1 to 4), or 0 when the
// bytes there are none (a stray continuation byte, an overlong form, a surrogate, a cut-off
// sequence or a code point past U+10FFFF).
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at);
// Whether `text` is well-formed UTF-8 throughout.
bool IsUtf8(std::string_view text);

} // namespace setfolio
