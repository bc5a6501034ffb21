#pragma once

#include "core/Signal.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace setfolio {

class EditIpForm;
class Prompts;

// The IP address list dialog: shows an EditIpForm and hands the user's actions to it.
class QtEditIpForm : public QDialog {
    Q_OBJECT

public:
    QtEditIpForm(EditIpForm& form, Prompts& prompts, QWidget* parent = nullptr);

    // Shows the whole form model in the widgets.
    void Refresh();
    // Empties the edit fields, refreshes and runs the dialog modally.
    int ShowModal();

    // Escape and the title bar's close button cancel like the Cancel button.
    void reject() override;

private:
    void Ok();

    EditIpForm& m_form;

    Subscription m_changed; // shows the model again whenever it signals a change
    Prompts& m_prompts;
    bool m_refreshing = false;

    QLabel* m_addressLabel;
    QLabel* m_nameLabel;
    QLineEdit* m_addressEdit;
    QLineEdit* m_nameEdit;
    QPushButton* m_addBtn;
    QLabel* m_listLabel;
    QListWidget* m_addressList;
    QPushButton* m_upBtn;
    QPushButton* m_downBtn;
    QPushButton* m_deleteBtn;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
};

} // namespace setfolio
