#pragma once

#include <QApplication>

namespace setfolio {

class Prompts;

// The application object with the program's last line of defence: an error that escapes an
// event is shown in an error box, and the program goes on with the next event.
class SetfolioApplication : public QApplication {
public:
    SetfolioApplication(int& argc, char** argv);
    void SetPrompts(Prompts* prompts) { m_prompts = prompts; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompts* m_prompts = nullptr;
};

} // namespace setfolio
