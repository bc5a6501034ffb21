#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// Watches a received byte stream for the data triggers of a serial port and turns each chunk of
// received bytes into the events the port raises: "n bytes are waiting", and "trigger h matched"
// right after the bytes up to the end of its sequence have been announced. Matches may span
// chunk boundaries.
class TriggerMatcher {
public:
    struct Event {
        enum class Kind { Bytes, Trigger } kind;
        std::uint16_t value; // byte count or trigger handle
        friend bool operator==(const Event&, const Event&) = default;
    };

    std::uint16_t Add(std::string_view sequence);
    void Remove(std::uint16_t handle);
    // Forgets a partial match, e.g. when the port closes; the triggers stay.
    void ResetStream() { m_tail.clear(); }

    std::vector<Event> Feed(std::string_view bytes);

private:
    struct Trigger {
        std::uint16_t handle;
        std::string sequence;
    };
    std::vector<Trigger> m_triggers;
    std::uint16_t m_nextHandle = 1;
    std::string m_tail; // the last bytes of the stream, as long as the longest sequence
};

} // namespace setfolio
