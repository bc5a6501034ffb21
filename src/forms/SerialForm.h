#pragma once

#include "forms/FormControls.h"
#include "forms/FormModel.h"
#include "i18n/Localisation.h"
#include "link/PortLinks.h"
#include "link/Transport.h"
#include "platform/SerialDevices.h"

#include <optional>
#include <vector>

namespace setfolio {

class Dialogs;
class Prompts;
class Settings;

// The communications dialog ("Configure Communications"). Its lists are where the running
// program keeps the communication settings: the transport reads them from here.
class SerialForm : public FormModel {
public:
    SerialForm(const Settings& settings, Transport& transport, Localisation& localisation,
               Dialogs& dialogs, Prompts& prompts);
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
    // Where each line of the COM port list leads ("" for OFF), and the marked line's device.
    std::vector<std::string> ComPortDevices;
    Label DeviceLabel;
    Label DeviceText;
    // The serial devices the system has, and making the marked COM port lead to one.
    Label AvailableLabel;
    Choice DeviceComboBox;
    Button AssignBtn;
    Button OKBtn;
    Button CancelBtn;

    // Shows where the COM ports lead (the links of `links`) and offers the system's devices;
    // without it the dialog has no device controls.
    void AttachPorts(PortLinks links, const SerialDevices& devices, Prompts& prompts);
    // Reads again where each COM port leads and which devices the system has.
    void RefreshPorts();
    // After the marked COM port has changed.
    void ComPortChange();
    // Makes the marked COM port's link lead to the marked device.
    void AssignBtnClick();
    // The device lines' devices, in the order of DeviceComboBox's lines.
    const std::vector<SerialDevice>& Devices() const { return m_devices; }

    // Puts the program's own texts, which the catalogue lacks, into the controls.
    void TextsApplied() override;

    void ApplyConnectionType(bool ethernet);
    void LoadCommSettings();
    // Whether the lists hold the stored settings yet: before, there is no link to name.
    bool SettingsLoaded() const { return m_settingsLoaded; }
    void LoadIpAddressIndex();
    void SaveCommSettings();

    void EthernetBtnClick() { ApplyConnectionType(true); }
    void SerialBtnClick() { ApplyConnectionType(false); }
    void EditBtnClick();
    // Returns whether the dialog closes. A serial port choice is stored only once the port
    // opens: after a port error (or any error, which reaches the caller) the dialog stays open
    // and the stored choice stays in force. An Ethernet address is stored before it is tried
    // and the dialog closes even when its processor does not answer (the failure is shown):
    // the next exchange tries again.
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
    // The rows that name where a port leads and offer the system's devices.
    void ShowDeviceRows(bool shown);
    void ApplyOwnTexts();
    // The marked number; otherwise `notSelected` or `invalid` is thrown.
    int MarkedNumber(const Choice& list, OwnMsg notSelected, OwnMsg invalid) const;

    std::optional<PortLinks> m_links;
    const SerialDevices* m_systemDevices = nullptr;
    Prompts* m_prompts = nullptr;
    std::vector<SerialDevice> m_devices;
    const Settings& m_settings;
    Transport& m_transport;
    Dialogs& m_dialogs;
    Localisation& m_localisation;
    Subscription m_portErrors;
    bool m_portErrorReported = false;
    bool m_triedWithoutSuccess = false;
    bool m_settingsLoaded = false;
};

} // namespace setfolio
