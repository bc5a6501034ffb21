#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace setfolio {

// Where the lines of a trace go, one call a line (without its line end).
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void WriteLine(std::string_view line) = 0;
};

// A sink that keeps the lines in one text file. Each line is appended as it comes; when the file
// would grow beyond `capBytes` the older half of its lines is dropped and the rest written again
// atomically, so a trace left on never fills a disk.
class FileTraceSink : public TraceSink {
public:
    static constexpr std::size_t DefaultCapBytes = 10 * 1024 * 1024;
    // Throws std::runtime_error when the file cannot be written; a later failure to write it
    // ends the trace without an error.
    explicit FileTraceSink(std::string path, std::size_t capBytes = DefaultCapBytes);
    ~FileTraceSink() override;
    void WriteLine(std::string_view line) override;
    const std::string& Path() const { return m_path; }

private:
    void DropOlderHalf();

    std::string m_path;
    std::size_t m_capBytes;
    std::deque<std::string> m_lines; // what the file holds, each with its line end
    std::size_t m_bytes = 0;
    std::FILE* m_file = nullptr;
};

// The escaped form of link bytes: printable ASCII as it is, a backslash doubled, CR and LF as
// \r and \n, every other byte as \xNN; a trace line stays one line.
std::string EscapeLinkBytes(std::string_view bytes);

// One link's traffic, one line an event:
//   <ms since the trace began> <event> <escaped bytes or settings>[ +<ms since the command>]
// after a header line with the wall-clock time the trace began. Events: sent, received (with
// the time since its command), timed-out, dropped (a line too long to be a reply), open, close.
class LinkTrace {
public:
    // Which end of the link traces: the program sends commands and receives replies; a
    // (simulated) processor receives commands and sends replies, its replies timed.
    enum class Side { Host, Processor };
    // `nowMs` is the clock the times are read from (the event loop's).
    LinkTrace(std::unique_ptr<TraceSink> sink, std::function<std::int64_t()> nowMs,
              Side side = Side::Host);

    void Sent(std::string_view bytes);
    void Received(std::string_view bytes);
    void TimedOut();
    void Dropped(std::string_view bytes);
    void Opened(std::string_view settings);
    void Closed(std::string_view settings);

    // The header line for a trace begun at `wallClockMs` (ms since 1970, UTC).
    static std::string HeaderLine(std::int64_t wallClockMs);
    // An event line, as both this trace and the simulator's log write it.
    static std::string EventLine(std::int64_t ms, std::string_view event, std::string_view text,
                                 std::int64_t sinceCommandMs = -1);

private:
    void Write(std::string_view event, std::string_view text, std::int64_t sinceCommandMs = -1);

    std::unique_ptr<TraceSink> m_sink;
    std::function<std::int64_t()> m_nowMs;
    std::int64_t m_startMs = 0;
    Side m_side;
    std::int64_t m_commandMs = -1;
};

} // namespace setfolio
