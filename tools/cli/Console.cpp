#include "Console.h"

#include "platform/EventLoop.h"

#include <ostream>

namespace setfolio::cli {

void ConsolePrompts::ErrorBox(const std::string& text) {
    std::string line = text;
    for (auto& c : line) {
        if (c == '\r')
            c = ' ';
    }
    m_err << "setfolio-cli: " << line << "\n";
}

ConsoleTransferView::ConsoleTransferView(EventLoop& loop, std::ostream& err, bool errIsTerminal)
    : m_loop(loop), m_err(err), m_tty(errIsTerminal) {}

ConsoleTransferView::~ConsoleTransferView() {
    if (m_tty && m_shown)
        m_err << "\n";
}

void ConsoleTransferView::SetTransferMode(bool on, int range) {
    if (on)
        m_maximum = range;
    m_position = 0;
}

void ConsoleTransferView::Pause(int ms) {
    auto timer = m_loop.CreateTimer();
    bool done = false;
    timer->SetInterval(ms);
    timer->SetOnExpiry([&] { done = true; });
    timer->Start();
    m_loop.WaitUntil([&] { return done; });
}

void ConsoleTransferView::SetPosition(int position) {
    m_position = position;
    if (m_tty) {
        m_err << "\r" << m_position << " / " << m_maximum << std::flush;
        m_shown = true;
    }
}

} // namespace setfolio::cli
