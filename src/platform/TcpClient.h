#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace setfolio {

// An error of the TCP layer: the attempt failed (refused, unreachable, unknown host, abandoned),
// a write without a connection, a line too long, or the connection closed by the peer.
class TcpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LineRead {
    std::string line; // without LF and a CR just before it
    bool timedOut = false;
};

// Lines longer than this many characters are refused.
inline constexpr std::size_t MaxTcpLineLength = 16384;

// The TCP client as the link needs it. Every call that waits keeps the event loop serviced.
class TcpClient {
public:
    virtual ~TcpClient() = default;

    virtual void SetHost(const std::string& host) = 0;
    virtual void SetPort(std::uint16_t port) = 0;

    // Returns when connected (after the connected handler ran) and throws TcpError when the
    // attempt fails or is abandoned by Disconnect().
    virtual void Connect() = 0;
    virtual void Disconnect() = 0;
    virtual bool IsConnected() const = 0;

    // Throws TcpError when no connection is established.
    virtual void Write(std::string_view bytes) = 0;
    // The next LF-terminated line. When none completes within `timeoutMs` it returns an empty
    // text with `timedOut`; the bytes of an incomplete line stay buffered. Throws TcpError for a
    // line over MaxTcpLineLength characters, which is dropped up to its LF, and when the peer
    // has closed the connection.
    virtual LineRead ReadLine(int timeoutMs) = 0;
    // Whether a complete line has arrived and waits to be read.
    virtual bool LineReady() = 0;
    // Drops whatever has arrived and not been read, complete lines or not.
    virtual void DiscardInput() = 0;

    virtual void SetOnConnected(std::function<void()> handler) = 0;
};

} // namespace setfolio
