#include "forms/SerialForm.h"

#include "core/Settings.h"
#include "forms/ControlTexts.h"
#include "link/Decimal.h"
#include "platform/Dialogs.h"

#include <stdexcept>
#include <utility>

namespace setfolio {

namespace {

int MarkedNumber(const Choice& list, const char* what) {
    if (!list.HasMarked())
        throw std::out_of_range(std::string("No ") + what + " is selected.");
    const auto number = ParseDecimal(list.MarkedText());
    if (!number)
        throw std::out_of_range(std::string("Invalid ") + what + ": " + list.MarkedText());
    return *number;
}

} // namespace

SerialForm::SerialForm(const Settings& settings, Transport& transport, Localisation& localisation,
                       Dialogs& dialogs)
    : m_settings(settings), m_transport(transport), m_dialogs(dialogs) {
    EthernetBtn.enabled = false; // Ethernet is chosen through the settings file only
    EthernetBtn.hint = "Click to select Ethernet communications";
    SerialBtn.hint = "Click to select serial communications";
    EthernetGroup.caption = "Ethernet";
    SerialGroup.caption = "Serial";
    IpAddressLabel.caption = "IP Address";
    IpAddressBox.hint = "Select IP address from list";
    IpAddressBox.items = {""};
    EditBtn.caption = "Edit List";
    EditBtn.hint = "Click to manage address list";
    ComPortLabel.caption = "COM Port";
    for (int port = 1; port <= 32; ++port)
        ComPortComboBox.items.push_back(std::to_string(port));
    ComPortComboBox.items.emplace_back("OFF");
    BaudRateLabel.caption = "Baud Rate";
    BaudRateComboBox.items = {"1200", "2400", "4800", "9600", "19200", "38400"};
    ParityLabel.caption = "Parity";
    ParityComboBox.items = {"none", "odd", "even"};
    DataBitsLabel.caption = "Data Bits";
    DataBitsComboBox.items = {"7", "8"};
    StopBitsLabel.caption = "Stop Bits";
    StopBitsComboBox.items = {"1", "2"};
    OKBtn.caption = "OK";
    OKBtn.hint = "Click to accept new settings";
    CancelBtn.caption = "Cancel";
    CancelBtn.hint = "Click to exit without changing settings";

    m_transport.SetSerialSettingsSource([this] { return CurrentSerialSettings(); });
    m_transport.SetHostEntrySource([this] { return HostEntry(); });
    m_portErrors = m_transport.portErrorReported.Subscribe([this] { m_portErrorReported = true; });
    localisation.Attach(TextWindow::SerialForm, *this);
    ApplyConnectionType(false);
}

SerialForm::~SerialForm() {
    // The transport outlives the window's model only in tests, but it must never call into it.
    m_transport.SetSerialSettingsSource([] { return SerialSettings{}; });
    m_transport.SetHostEntrySource([] { return std::string(); });
}

void SerialForm::ApplyConnectionType(bool ethernet) {
    m_transport.SetConnectionType(ethernet ? ConnectionType::Ethernet : ConnectionType::Serial);
    EthernetBtn.checked = ethernet;
    SerialBtn.checked = !ethernet;
    EthernetGroup.colour = ethernet ? Black : Grey;
    SerialGroup.colour = ethernet ? Grey : Black;
    for (Control* control :
         {static_cast<Control*>(&EthernetGroup), static_cast<Control*>(&IpAddressLabel),
          static_cast<Control*>(&IpAddressBox), static_cast<Control*>(&EditBtn)})
        control->enabled = ethernet;
    for (Control* control :
         {static_cast<Control*>(&SerialGroup), static_cast<Control*>(&ComPortLabel),
          static_cast<Control*>(&ComPortComboBox), static_cast<Control*>(&BaudRateLabel),
          static_cast<Control*>(&BaudRateComboBox), static_cast<Control*>(&ParityLabel),
          static_cast<Control*>(&ParityComboBox), static_cast<Control*>(&DataBitsLabel),
          static_cast<Control*>(&DataBitsComboBox), static_cast<Control*>(&StopBitsLabel),
          static_cast<Control*>(&StopBitsComboBox)})
        control->enabled = !ethernet;
}

void SerialForm::LoadCommSettings() {
    const std::int32_t type = m_settings.Read(keys::ConnectionType);
    // Only the lowest byte of the stored type counts: 256 is serial.
    ApplyConnectionType((type & 0xFF) != 0);
    ComPortComboBox.Mark(m_settings.Read(keys::ComPort));
    BaudRateComboBox.Mark(m_settings.Read(keys::BaudRate));
    ParityComboBox.Mark(m_settings.Read(keys::Parity));
    DataBitsComboBox.Mark(m_settings.Read(keys::DataBits));
    StopBitsComboBox.Mark(m_settings.Read(keys::StopBits));
}

void SerialForm::LoadIpAddressIndex() {
    IpAddressBox.Mark(m_settings.Read(keys::IpAddressIndex));
}

void SerialForm::SaveCommSettings() {
    m_settings.Write(keys::ConnectionType, static_cast<std::int32_t>(m_transport.Type()));
    m_settings.Write(keys::IpAddressIndex, IpAddressBox.marked);
    m_settings.Write(keys::ComPort, ComPortComboBox.marked);
    m_settings.Write(keys::BaudRate, BaudRateComboBox.marked);
    m_settings.Write(keys::Parity, ParityComboBox.marked);
    m_settings.Write(keys::DataBits, DataBitsComboBox.marked);
    m_settings.Write(keys::StopBits, StopBitsComboBox.marked);
}

void SerialForm::EditBtnClick() {
    m_dialogs.ShowIpListDialog();
}

bool SerialForm::OKBtnClick() {
    // The new settings are stored only once they work, so a failed try never loses the
    // working choice; until then Cancel goes back to it.
    m_transport.CloseForNewSettings();
    m_portErrorReported = false;
    m_triedWithoutSuccess = true;
    m_transport.OpenConnection(); // a connection that cannot be made throws: nothing is stored
    if (m_portErrorReported)
        return false;
    SaveCommSettings();
    m_triedWithoutSuccess = false;
    accepted.Emit();
    return true;
}

void SerialForm::CancelBtnClick() {
    LoadCommSettings();
    LoadIpAddressIndex();
    if (!std::exchange(m_triedWithoutSuccess, false))
        return;
    // A failed try left the link closed or on the settings that failed: the stored ones, which
    // worked before, are put in force again.
    m_transport.CloseForNewSettings();
    m_transport.OpenConnection();
}

SerialSettings SerialForm::CurrentSerialSettings() const {
    SerialSettings settings;
    // With the port OFF the line's other settings configure nothing: one stored outside its
    // list must not stand in the way of the "select a valid COM port" the user needs to see.
    if (ComPortComboBox.HasMarked() && ComPortComboBox.MarkedText() == "OFF") {
        settings.port = 0;
        return settings;
    }
    settings.port = MarkedNumber(ComPortComboBox, "COM port");
    settings.baudRate = MarkedNumber(BaudRateComboBox, "baud rate");
    settings.parity = ParityComboBox.HasMarked()
                          ? std::optional<Parity>(static_cast<Parity>(ParityComboBox.marked))
                          : std::nullopt;
    settings.dataBits = MarkedNumber(DataBitsComboBox, "data bits setting");
    settings.stopBits = MarkedNumber(StopBitsComboBox, "stop bits setting");
    return settings;
}

std::string* SerialForm::TextSlot(std::string_view target, TextProperty property) {
    if (target == "TSerialForm")
        return property == TextProperty::WindowCaption ? &form.caption : nullptr;
    if (target == "ParityComboBox")
        return ListLine(ParityComboBox, property);
    const std::pair<std::string_view, Control*> controls[] = {
        {"ComPortLabel", &ComPortLabel},   {"BaudRateLabel", &BaudRateLabel},
        {"ParityLabel", &ParityLabel},     {"DataBitsLabel", &DataBitsLabel},
        {"StopBitsLabel", &StopBitsLabel}, {"OKBtn", &OKBtn},
        {"CancelBtn", &CancelBtn},
    };
    for (const auto& [name, control] : controls)
        if (name == target)
            return CaptionOrHint(*control, property);
    return nullptr;
}

} // namespace setfolio
