#include "link/LinkTrace.h"

#include "core/AtomicFile.h"
#include "core/CalendarTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace setfolio {

std::string EscapeLinkBytes(std::string_view bytes) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            escaped += "\\\\";
        } else if (byte == '\r') {
            escaped += "\\r";
        } else if (byte == '\n') {
            escaped += "\\n";
        } else if (byte < 0x20 || byte > 0x7E) {
            escaped += "\\x";
            escaped += Hex[byte >> 4];
            escaped += Hex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

FileTraceSink::FileTraceSink(std::string path, std::size_t capBytes)
    : m_path(std::move(path)), m_capBytes(capBytes) {
    m_file = OpenStdioFile(m_path, "wb");
    if (!m_file)
        throw std::runtime_error("cannot write the trace " + m_path);
}

FileTraceSink::~FileTraceSink() {
    if (m_file)
        std::fclose(m_file);
}

void FileTraceSink::WriteLine(std::string_view line) {
    std::string text(line);
    text += '\n';
    m_bytes += text.size();
    m_lines.push_back(std::move(text));
    if (m_bytes > m_capBytes) {
        DropOlderHalf();
        return;
    }
    if (m_file) {
        std::fwrite(m_lines.back().data(), 1, m_lines.back().size(), m_file);
        std::fflush(m_file);
    }
}

void FileTraceSink::DropOlderHalf() {
    // Lines are dropped until at most half the cap is left (the newest line always stays).
    while (m_lines.size() > 1 && m_bytes > m_capBytes / 2) {
        m_bytes -= m_lines.front().size();
        m_lines.pop_front();
    }
    std::string kept;
    kept.reserve(m_bytes);
    for (const std::string& line : m_lines)
        kept += line;
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    // A trace that can no longer be written ends quietly: it must not end the transfer.
    if (WriteFileAtomically(m_path, kept))
        m_file = OpenStdioFile(m_path, "ab");
}

LinkTrace::LinkTrace(std::unique_ptr<TraceSink> sink, std::function<std::int64_t()> nowMs,
                     Side side)
    : m_sink(std::move(sink)), m_nowMs(std::move(nowMs)), m_startMs(m_nowMs()), m_side(side) {
    const auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    m_sink->WriteLine(HeaderLine(wall));
}

std::string LinkTrace::HeaderLine(std::int64_t wallClockMs) {
    const std::time_t seconds = static_cast<std::time_t>(wallClockMs / 1000);
    const std::tm utc = UtcCalendarTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "# trace begun %04d-%02d-%02dT%02d:%02d:%02d.%03dZ",
                  utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                  utc.tm_sec, static_cast<int>(wallClockMs % 1000));
    return text;
}

std::string LinkTrace::EventLine(std::int64_t ms, std::string_view event, std::string_view text,
                                 std::int64_t sinceCommandMs) {
    std::string line = std::to_string(ms);
    line += ' ';
    line += event;
    if (!text.empty()) {
        line += ' ';
        line += text;
    }
    if (sinceCommandMs >= 0) {
        line += " +";
        line += std::to_string(sinceCommandMs);
        line += "ms";
    }
    return line;
}

void LinkTrace::Write(std::string_view event, std::string_view text, std::int64_t sinceCommandMs) {
    m_sink->WriteLine(EventLine(m_nowMs() - m_startMs, event, text, sinceCommandMs));
}

void LinkTrace::Sent(std::string_view bytes) {
    if (m_side == Side::Host) {
        m_commandMs = m_nowMs();
        Write("sent", EscapeLinkBytes(bytes));
    } else {
        Write("sent", EscapeLinkBytes(bytes), m_commandMs < 0 ? -1 : m_nowMs() - m_commandMs);
    }
}

void LinkTrace::Received(std::string_view bytes) {
    if (m_side == Side::Processor) {
        m_commandMs = m_nowMs();
        Write("received", EscapeLinkBytes(bytes));
    } else {
        Write("received", EscapeLinkBytes(bytes), m_commandMs < 0 ? -1 : m_nowMs() - m_commandMs);
    }
}

void LinkTrace::TimedOut() {
    Write("timed-out", "", m_commandMs < 0 ? -1 : m_nowMs() - m_commandMs);
}

void LinkTrace::Dropped(std::string_view bytes) {
    Write("dropped", EscapeLinkBytes(bytes));
}

void LinkTrace::Opened(std::string_view settings) {
    Write("open", settings);
}

void LinkTrace::Closed(std::string_view settings) {
    Write("close", settings);
}

} // namespace setfolio
