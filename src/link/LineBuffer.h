#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// Splits a received TCP stream into lines: LF ends a line, a CR just before it goes with it, and
// an incomplete line stays for the next call. Throws TcpError for a line over the length limit;
// that line is gone then, up to its LF, so the lines after it can still be read.
class LineBuffer {
public:
    void Append(std::string_view bytes);
    std::optional<std::string> TakeLine();
    bool Empty() const { return m_pending.empty(); }
    bool HasLine() const { return m_pending.find('\n') != std::string::npos; }
    std::size_t Size() const { return m_pending.size(); }
    void Clear() {
        m_pending.clear();
        m_droppingLine = false;
    }

private:
    std::string m_pending;
    // The start of an over-long line was refused; its rest is dropped up to its LF.
    bool m_droppingLine = false;
};

} // namespace setfolio
