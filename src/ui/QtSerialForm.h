#pragma once

#include "core/Signal.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace setfolio {

class Prompts;
class SerialForm;

// The communications dialog: shows a SerialForm and hands the user's actions to it.
class QtSerialForm : public QDialog {
    Q_OBJECT

public:
    QtSerialForm(SerialForm& form, Prompts& prompts, QWidget* parent = nullptr);

    // Shows the whole form model in the widgets.
    void Refresh();
    // Refreshes, then runs the dialog modally.
    int ShowModal();

    // Escape and the title bar's close button cancel like the Cancel button.
    void reject() override;

private:
    void Ok();
    void ShowPorts();
    // The device the chosen COM port leads to, shortened to the room its row has.
    void ShowDevice();

    SerialForm& m_form;

    Subscription m_changed; // shows the model again whenever it signals a change
    Prompts& m_prompts;
    bool m_refreshing = false;

    QRadioButton* m_ethernetBtn;
    QRadioButton* m_serialBtn;
    QGroupBox* m_ethernetGroup;
    QGroupBox* m_serialGroup;
    QLabel* m_ipAddressLabel;
    QComboBox* m_ipAddressBox;
    QPushButton* m_editBtn;
    QLabel* m_comPortLabel;
    QComboBox* m_comPortComboBox;
    QLabel* m_baudRateLabel;
    QComboBox* m_baudRateComboBox;
    QLabel* m_parityLabel;
    QComboBox* m_parityComboBox;
    QLabel* m_dataBitsLabel;
    QComboBox* m_dataBitsComboBox;
    QLabel* m_stopBitsLabel;
    QComboBox* m_stopBitsComboBox;
    // The device rows, made only when the form has them.
    QLabel* m_deviceLabel = nullptr;
    QLabel* m_deviceText = nullptr;
    QLabel* m_availableLabel = nullptr;
    QComboBox* m_deviceComboBox = nullptr;
    QPushButton* m_assignBtn = nullptr;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
};

} // namespace setfolio
