#include "link/TriggerMatcher.h"

#include <algorithm>
#include <limits>

namespace setfolio {

std::uint16_t TriggerMatcher::Add(std::string_view sequence) {
    std::uint16_t handle = m_nextHandle++;
    if (m_nextHandle == 0)
        m_nextHandle = 1;
    m_triggers.push_back({handle, std::string(sequence)});
    return handle;
}

void TriggerMatcher::Remove(std::uint16_t handle) {
    std::erase_if(m_triggers, [handle](const Trigger& t) { return t.handle == handle; });
}

std::vector<TriggerMatcher::Event> TriggerMatcher::Feed(std::string_view bytes) {
    std::vector<Event> events;
    std::size_t longest = 0;
    for (const auto& trigger : m_triggers)
        longest = std::max(longest, trigger.sequence.size());

    std::size_t announced = 0; // bytes of this chunk already announced
    auto announceUpTo = [&](std::size_t end) {
        while (announced < end) {
            const auto count = static_cast<std::uint16_t>(
                std::min<std::size_t>(end - announced, std::numeric_limits<std::uint16_t>::max()));
            events.push_back({Event::Kind::Bytes, count});
            announced += count;
        }
    };

    for (std::size_t i = 0; i < bytes.size(); ++i) {
        m_tail.push_back(bytes[i]);
        if (m_tail.size() > longest)
            m_tail.erase(0, m_tail.size() - longest);
        for (const auto& trigger : m_triggers) {
            if (!trigger.sequence.empty() && std::string_view(m_tail).ends_with(trigger.sequence)) {
                announceUpTo(i + 1);
                events.push_back({Event::Kind::Trigger, trigger.handle});
            }
        }
    }
    announceUpTo(bytes.size());
    return events;
}

} // namespace setfolio
