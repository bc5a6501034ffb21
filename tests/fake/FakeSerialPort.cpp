#include "FakeSerialPort.h"

#include "FakeEventLoop.h"

#include <algorithm>

namespace setfolio::fake {

void FakeSerialPort::OpenIfClosed() {
    if (m_open)
        return;
    if (m_failOpen) {
        const auto kind = *m_failOpen;
        m_failOpen.reset();
        throw PortError(kind, portNumber, "cannot open");
    }
    m_open = true;
    ++opens;
}

std::uint16_t FakeSerialPort::AddDataTrigger(std::string_view sequence) {
    OpenIfClosed();
    return m_matcher.Add(sequence);
}

void FakeSerialPort::RemoveTrigger(std::uint16_t handle) {
    if (m_open)
        m_matcher.Remove(handle);
}

void FakeSerialPort::Close() {
    m_open = false;
    m_received.clear();
    m_matcher.ResetStream();
}

void FakeSerialPort::SendRaw(std::string_view bytes) {
    OpenIfClosed();
    sent.append(bytes);
    if (m_drainRate > 0 && !bytes.empty()) {
        const std::size_t size = bytes.size();
        outputQueueUsed += size;
        m_drainedAt = std::max(m_drainedAt, m_loop.Now()) +
                      static_cast<std::int64_t>(size) * 1000 / m_drainRate;
        m_loop.Schedule(m_drainedAt - m_loop.Now(),
                        [this, size] { outputQueueUsed -= std::min(size, outputQueueUsed); });
    }
    if (m_peer)
        m_peer(std::string(bytes));
}

char FakeSerialPort::ReadByte() {
    if (m_received.empty())
        return '\0';
    const char byte = m_received.front();
    m_received.pop_front();
    return byte;
}

void FakeSerialPort::Receive(std::string bytes, std::int64_t delayMs) {
    m_loop.Schedule(delayMs, [this, bytes = std::move(bytes)] {
        if (!m_open)
            return; // a closed port hears nothing
        m_received.insert(m_received.end(), bytes.begin(), bytes.end());
        for (const auto& event : m_matcher.Feed(bytes)) {
            if (event.kind == TriggerMatcher::Event::Kind::Bytes) {
                if (m_onBytes)
                    m_onBytes(event.value);
            } else if (m_onTrigger) {
                m_onTrigger(event.value);
            }
        }
    });
}

} // namespace setfolio::fake
