#include "ui/SetfolioApplication.h"

#include "core/Guarded.h"

namespace setfolio {

SetfolioApplication::SetfolioApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool SetfolioApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    if (!m_prompts)
        return QApplication::notify(receiver, event);
    RunGuarded(*m_prompts, [&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace setfolio
