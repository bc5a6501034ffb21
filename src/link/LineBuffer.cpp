#include "link/LineBuffer.h"

#include "platform/TcpClient.h"

namespace setfolio {

void LineBuffer::Append(std::string_view bytes) {
    if (m_droppingLine) {
        const auto lf = bytes.find('\n');
        if (lf == std::string_view::npos)
            return;
        bytes.remove_prefix(lf + 1);
        m_droppingLine = false;
    }
    m_pending.append(bytes);
}

std::optional<std::string> LineBuffer::TakeLine() {
    const auto lf = m_pending.find('\n');
    const std::size_t lineLength = lf == std::string::npos ? m_pending.size() : lf;
    // A CR that belongs to the terminator does not count towards the limit.
    const bool crBeforeLf = lf != std::string::npos && lf > 0 && m_pending[lf - 1] == '\r';
    const bool crAtEnd = lf == std::string::npos && !m_pending.empty() && m_pending.back() == '\r';
    if (lineLength - (crBeforeLf || crAtEnd ? 1 : 0) > MaxTcpLineLength) {
        // Kept, the line would be refused again on every later read, and its tail would come
        // back as a line of its own.
        if (lf == std::string::npos) {
            m_pending.clear();
            m_droppingLine = true;
        } else {
            m_pending.erase(0, lf + 1);
        }
        throw TcpError("Line exceeds maximum line length (" + std::to_string(MaxTcpLineLength) +
                       ")");
    }
    if (lf == std::string::npos)
        return std::nullopt;
    std::string line = m_pending.substr(0, crBeforeLf ? lf - 1 : lf);
    m_pending.erase(0, lf + 1);
    return line;
}

} // namespace setfolio
