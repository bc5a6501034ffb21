#pragma once

#include "core/Signal.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace setfolio {

class LanguageForm;
class Prompts;

// The language dialog: shows a LanguageForm and hands the user's actions to it.
class QtLanguageForm : public QDialog {
    Q_OBJECT

public:
    QtLanguageForm(LanguageForm& form, Prompts& prompts, QWidget* parent = nullptr);

    // Shows the whole form model in the widgets.
    void Refresh();
    // Refreshes, then runs the dialog modally.
    int ShowModal();

    // Escape and the title bar's close button cancel like the Cancel button.
    void reject() override;

private:
    void Ok();

    LanguageForm& m_form;

    Subscription m_changed; // shows the model again whenever it signals a change
    Prompts& m_prompts;
    bool m_refreshing = false;

    QLabel* m_languageLabel;
    QComboBox* m_languageComboBox;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
};

} // namespace setfolio
