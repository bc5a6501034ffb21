#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <string_view>

namespace setfolio::testing {

// A pseudo-terminal pair standing in for a serial cable: the program opens the slave as its
// port, and the test plays the device on the master. The slave stays open here as well, since
// reading the master while no slave is open fails.
class PtyPair {
public:
    PtyPair() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0)
            throw std::runtime_error("posix_openpt failed");
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            ::close(m_master);
            throw std::runtime_error("grantpt/unlockpt failed");
        }
        const char* name = ::ptsname(m_master);
        if (!name) {
            ::close(m_master);
            throw std::runtime_error("ptsname failed");
        }
        m_slavePath = name;
        m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
        termios settings{};
        if (m_slave < 0 || ::tcgetattr(m_slave, &settings) != 0) {
            CloseAll();
            throw std::runtime_error("cannot open " + m_slavePath);
        }
        // No echo and no CR/LF translation: bytes pass through unchanged.
        ::cfmakeraw(&settings);
        ::tcsetattr(m_slave, TCSANOW, &settings);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() { CloseAll(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int MasterFd() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

    // Sends bytes as the device would.
    void Write(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t written = ::write(m_master, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throw std::runtime_error("writing to the pseudo-terminal failed");
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    // Everything the program has sent that is waiting now; never blocks.
    std::string ReadAvailable() const {
        std::string bytes;
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got <= 0)
                return bytes;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }
    // Pulls the cable: the device side goes away.
    void CloseAll() {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
        m_slave = -1;
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace setfolio::testing
