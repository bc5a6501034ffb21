#pragma once

#include <string>
#include <string_view>

namespace setfolio {

// The SHA-256 digest of `bytes` in lower-case hexadecimal, as sha256sum prints it.
std::string Sha256Hex(std::string_view bytes);

} // namespace setfolio
