#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// Splits a received TCP stream into lines: LF ends a line, a CR just before it goes with it, and
// an incomplete line stays for the next call. Throws TcpError for a line over the length limit.
class LineBuffer {
public:
    void Append(std::string_view bytes) { m_pending.append(bytes); }
    std::optional<std::string> TakeLine();
    bool Empty() const { return m_pending.empty(); }
    bool HasLine() const { return m_pending.find('\n') != std::string::npos; }
    void Clear() { m_pending.clear(); }

private:
    std::string m_pending;
};

} // namespace setfolio
