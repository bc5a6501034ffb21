#include "link/LineBuffer.h"

#include "platform/TcpClient.h"

namespace setfolio {

std::optional<std::string> LineBuffer::TakeLine() {
    const auto lf = m_pending.find('\n');
    const std::size_t lineLength = lf == std::string::npos ? m_pending.size() : lf;
    // A CR that belongs to the terminator does not count towards the limit.
    const bool crBeforeLf = lf != std::string::npos && lf > 0 && m_pending[lf - 1] == '\r';
    const bool crAtEnd = lf == std::string::npos && !m_pending.empty() && m_pending.back() == '\r';
    if (lineLength - (crBeforeLf || crAtEnd ? 1 : 0) > MaxTcpLineLength)
        throw TcpError("Line exceeds maximum line length (" + std::to_string(MaxTcpLineLength) +
                       ")");
    if (lf == std::string::npos)
        return std::nullopt;
    std::string line = m_pending.substr(0, crBeforeLf ? lf - 1 : lf);
    m_pending.erase(0, lf + 1);
    return line;
}

} // namespace setfolio
