#include "Console.h"

#include "link/Exchange.h"
#include "platform/EventLoop.h"

#include <ostream>
#include <utility>

namespace setfolio::cli {

void ProgressLine::Draw(const std::string& text) {
    if (!m_terminal)
        return;
    // Over the line drawn before; blanks over what a longer one left.
    m_err << "\r" << text;
    if (text.size() < m_width)
        m_err << std::string(m_width - text.size(), ' ') << "\r" << text;
    m_err << std::flush;
    m_width = text.size();
}

void ProgressLine::Clear() {
    if (m_width == 0)
        return;
    m_err << "\r" << std::string(m_width, ' ') << "\r" << std::flush;
    m_width = 0;
}

void ConsolePrompts::ErrorBox(const std::string& text) {
    m_progress.Clear();
    m_reported = true;
    std::string line = text;
    for (auto& c : line) {
        if (c == '\r')
            c = ' ';
    }
    m_err << "setfolio-cli: " << line << "\n";
}

ConsoleTransferView::ConsoleTransferView(EventLoop& loop, const Exchange& exchange,
                                         ProgressLine& progress, ProgressCaption caption)
    : m_loop(loop), m_exchange(exchange), m_progress(progress), m_caption(std::move(caption)) {}

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
    const int library = m_exchange.TransferLibrary();
    std::string text = m_caption.what + " " + std::to_string(library) + ": " +
                       std::to_string(m_position) + " of " + std::to_string(m_maximum);
    if (m_caption.last > m_caption.first && library >= m_caption.first && library <= m_caption.last)
        text += ", library " + std::to_string(library - m_caption.first + 1) + " of " +
                std::to_string(m_caption.last - m_caption.first + 1);
    m_progress.Draw(text);
}

} // namespace setfolio::cli
