#pragma once

#include "platform/Prompts.h"

#include <QString>

#include <memory>
#include <string>

class QMessageBox;
class QWidget;

namespace setfolio {

// Message boxes and beeps of the running program.
class QtPrompts : public Prompts {
public:
    // Boxes are centred on `parent`; without one, on whichever window is active.
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    void ErrorBox(const std::string& text) override;
    void WarningBeep() override;
    void DefaultBeep() override;
    bool WarningYesNo(const std::string& text) override;

private:
    QWidget* m_parent;
};

// Message texts are UTF-8 and break lines with CR (CR LF counts as one break).
QString PromptText(const std::string& text);
// The box ErrorBox shows, built but not shown.
std::unique_ptr<QMessageBox> MakeErrorBox(QWidget* parent, const std::string& text);

} // namespace setfolio
