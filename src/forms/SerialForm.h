#pragma once

#include "forms/FormControls.h"
#include "forms/FormModel.h"
#include "i18n/Localisation.h"
#include "link/Transport.h"

namespace setfolio {

class Dialogs;
class Settings;

// The communications dialog ("Configure Communications"). Its lists are where the running
// program keeps the communication settings: the transport reads them from here.
class SerialForm : public FormModel {
public:
    SerialForm(const Settings& settings, Transport& transport, Localisation& localisation,
               Dialogs& dialogs);
    ~SerialForm() override;
    SerialForm(const SerialForm&) = delete;
    SerialForm& operator=(const SerialForm&) = delete;

    Window form{"Configure Communications", 471, 343};
    Toggle EthernetBtn;
    Toggle SerialBtn;
    Label EthernetGroup;
    Label SerialGroup;
    Label IpAddressLabel;
    Choice IpAddressBox;
    Button EditBtn;
    Label ComPortLabel;
    Choice ComPortComboBox;
    Label BaudRateLabel;
    Choice BaudRateComboBox;
    Label ParityLabel;
    Choice ParityComboBox;
    Label DataBitsLabel;
    Choice DataBitsComboBox;
    Label StopBitsLabel;
    Choice StopBitsComboBox;
    Button OKBtn;
    Button CancelBtn;

    void ApplyConnectionType(bool ethernet);
    void LoadCommSettings();
    void LoadIpAddressIndex();
    void SaveCommSettings();

    void EthernetBtnClick() { ApplyConnectionType(true); }
    void SerialBtnClick() { ApplyConnectionType(false); }
    void EditBtnClick();
    // Returns whether the dialog closes: it stays open after a serial port error.
    bool OKBtnClick();
    void CancelBtnClick();

    // The serial settings as the marked lines give them; with the port OFF, only that. Throws
    // std::out_of_range when the port list, or for a real port the baud rate, data bits or stop
    // bits list, has no marked line.
    SerialSettings CurrentSerialSettings() const;
    // OK stored new settings and the dialog closes.
    Signal<> accepted;

    // The marked IP address entry ("" when none is marked).
    std::string HostEntry() const { return IpAddressBox.MarkedText(); }

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

private:
    const Settings& m_settings;
    Transport& m_transport;
    Dialogs& m_dialogs;
    Subscription m_portErrors;
    bool m_portErrorReported = false;
    bool m_triedWithoutSuccess = false;
};

} // namespace setfolio
