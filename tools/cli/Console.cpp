#include "Console.h"

#include "platform/EventLoop.h"

#include <iostream>
#include <unistd.h>

namespace setfolio::cli {

void ConsolePrompts::ErrorBox(const std::string& text) {
    std::string line = text;
    for (auto& c : line) {
        if (c == '\r')
            c = ' ';
    }
    std::cerr << "setfolio-cli: " << line << "\n";
}

ConsoleTransferView::ConsoleTransferView(EventLoop& loop) : m_loop(loop), m_tty(::isatty(2) != 0) {}

ConsoleTransferView::~ConsoleTransferView() {
    if (m_tty && m_shown)
        std::cerr << "\n";
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
        std::cerr << "\r" << m_position << " / " << m_maximum << std::flush;
        m_shown = true;
    }
}

} // namespace setfolio::cli
