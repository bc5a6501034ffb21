#include "forms/SerialForm.h"

#include "core/Settings.h"
#include "core/Utf8Path.h"
#include "forms/ControlTexts.h"
#include "link/Decimal.h"
#include "link/SerialLine.h"
#include "platform/Dialogs.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"

#include <stdexcept>
#include <utility>

namespace setfolio {

namespace {

// "ttyUSB0 - USB Serial (maker, serial number)", with what the system tells of it.
std::string DeviceLine(const SerialDevice& device) {
    // "ttyUSB0", "pts/3": the name under /dev says enough; "\\.\COM3" is COM3.
    const std::string_view dev = "/dev/";
    std::string line = device.systemPath.starts_with(dev) ? device.systemPath.substr(dev.size())
                                                          : FileNameOf(device.systemPath);
    if (!device.description.empty())
        line += " - " + device.description;
    std::string details = device.manufacturer;
    if (!device.serialNumber.empty())
        details += (details.empty() ? "" : ", ") + device.serialNumber;
    if (!details.empty())
        line += " (" + details + ")";
    return line;
}

std::vector<std::string> Items(std::span<const int> choices) {
    std::vector<std::string> items;
    for (const int choice : choices)
        items.push_back(std::to_string(choice));
    return items;
}

} // namespace

int SerialForm::MarkedNumber(const Choice& list, OwnMsg notSelected, OwnMsg invalid) const {
    const MessageTexts& texts = m_localisation.Messages();
    if (!list.HasMarked())
        throw std::out_of_range(texts.Text(notSelected));
    const auto number = ParseDecimal(list.MarkedText());
    if (!number)
        throw std::out_of_range(texts.Format(invalid, {list.MarkedText()}));
    return *number;
}

SerialForm::SerialForm(const Settings& settings, Transport& transport, Localisation& localisation,
                       Dialogs& dialogs, Prompts& prompts)
    : m_prompts(&prompts), m_settings(settings), m_transport(transport), m_dialogs(dialogs),
      m_localisation(localisation) {
    EthernetBtn.enabled = false; // Ethernet is chosen through the settings file only
    IpAddressBox.items = {""};
    ComPortLabel.caption = "COM Port";
    for (int port = 1; port <= ComPortCount; ++port)
        ComPortComboBox.items.push_back(std::to_string(port));
    ComPortComboBox.items.emplace_back("OFF");
    BaudRateLabel.caption = "Baud Rate";
    BaudRateComboBox.items = Items(BaudRates);
    ParityLabel.caption = "Parity";
    ParityComboBox.items.assign(ParityNames.begin(), ParityNames.end());
    DataBitsLabel.caption = "Data Bits";
    DataBitsComboBox.items = Items(DataBitsChoices);
    StopBitsLabel.caption = "Stop Bits";
    StopBitsComboBox.items = Items(StopBitsChoices);
    OKBtn.caption = "OK";
    OKBtn.hint = "Click to accept new settings";
    CancelBtn.caption = "Cancel";
    CancelBtn.hint = "Click to exit without changing settings";
    ShowDeviceRows(false);
    ApplyOwnTexts();

    m_transport.SetReportTexts([&localisation](LinkReport report) {
        return localisation.Messages().Text(static_cast<OwnMsg>(
            static_cast<int>(OwnMsg::LinkPortAlreadyOpen) + static_cast<int>(report)));
    });
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
    m_transport.SetReportTexts({});
}

void SerialForm::TextsApplied() {
    ApplyOwnTexts();
    FormModel::TextsApplied();
}

void SerialForm::ApplyOwnTexts() {
    const MessageTexts& texts = m_localisation.Messages();
    EthernetBtn.hint = texts.Text(OwnMsg::CommsEthernetHint);
    SerialBtn.hint = texts.Text(OwnMsg::CommsSerialHint);
    EthernetGroup.caption = texts.Text(OwnMsg::CommsEthernet);
    SerialGroup.caption = texts.Text(OwnMsg::CommsSerial);
    IpAddressLabel.caption = texts.Text(OwnMsg::CommsIpAddress);
    IpAddressBox.hint = texts.Text(OwnMsg::CommsIpAddressHint);
    EditBtn.caption = texts.Text(OwnMsg::CommsEditList);
    EditBtn.hint = texts.Text(OwnMsg::CommsEditListHint);
    DeviceLabel.caption = texts.Text(OwnMsg::CommsDevice);
    DeviceText.hint = texts.Text(OwnMsg::CommsDeviceHint);
    AvailableLabel.caption = texts.Text(OwnMsg::CommsAvailable);
    DeviceComboBox.hint = texts.Text(OwnMsg::CommsAvailableHint);
    AssignBtn.caption = texts.Text(OwnMsg::CommsAssign);
    AssignBtn.hint = texts.Text(OwnMsg::CommsAssignHint);
    // What the ports lead to is told in the language too.
    if (m_links)
        RefreshPorts();
}

void SerialForm::ShowDeviceRows(bool shown) {
    for (Control* control :
         {static_cast<Control*>(&DeviceLabel), static_cast<Control*>(&DeviceText),
          static_cast<Control*>(&AvailableLabel), static_cast<Control*>(&DeviceComboBox),
          static_cast<Control*>(&AssignBtn)})
        control->visible = shown;
}

void SerialForm::AttachPorts(PortLinks links, const SerialDevices& devices, Prompts& prompts) {
    m_links.emplace(std::move(links));
    m_systemDevices = &devices;
    m_prompts = &prompts;
    ShowDeviceRows(true);
    // Where the system names the ports itself (Windows) there is nothing to assign; the dialog
    // still shows each port's name and the system's devices.
    AssignBtn.visible = PortLinks::MakesLinks();
    RefreshPorts();
}

void SerialForm::RefreshPorts() {
    if (!m_links)
        return;
    const MessageTexts& texts = m_localisation.Messages();
    ComPortDevices.assign(ComPortComboBox.items.size(), std::string());
    for (int number = 1; number <= ComPortCount; ++number) {
        const PortLinks::Reach reach = m_links->Reaches(number);
        std::string& line = ComPortDevices[static_cast<std::size_t>(number - 1)];
        if (reach.kind == PortLinks::Reach::Kind::None)
            line = texts.Text(OwnMsg::PortNoDevice);
        else if (reach.missing)
            line = texts.Format(OwnMsg::PortDeviceMissing, {reach.target});
        else
            line = reach.target;
    }

    // The device marked before stays marked while it is there; else the first is.
    const std::string marked =
        DeviceComboBox.HasMarked() &&
                static_cast<std::size_t>(DeviceComboBox.marked) < m_devices.size()
            ? m_devices[static_cast<std::size_t>(DeviceComboBox.marked)].path
            : std::string();
    m_devices = m_systemDevices->List();
    std::vector<std::string> lines;
    int mark = m_devices.empty() ? -1 : 0;
    for (const auto& device : m_devices) {
        if (device.path == marked)
            mark = static_cast<int>(lines.size());
        lines.push_back(DeviceLine(device));
    }
    const bool any = !lines.empty();
    if (!any)
        lines.push_back(texts.Text(OwnMsg::NoSerialDevices));
    DeviceComboBox.SetItems(std::move(lines));
    DeviceComboBox.Mark(mark);
    DeviceComboBox.enabled = any && SerialBtn.checked;
    ComPortChange();
}

void SerialForm::ComPortChange() {
    const bool port = ComPortComboBox.HasMarked() && ComPortComboBox.MarkedText() != "OFF";
    const auto line = static_cast<std::size_t>(ComPortComboBox.marked);
    DeviceText.caption = port && line < ComPortDevices.size() ? ComPortDevices[line] : "";
    AssignBtn.enabled = SerialBtn.checked && !m_devices.empty();
}

void SerialForm::AssignBtnClick() {
    if (!m_links || !DeviceComboBox.HasMarked() || m_devices.empty())
        return;
    const MessageTexts& texts = m_localisation.Messages();
    if (!ComPortComboBox.HasMarked() || ComPortComboBox.MarkedText() == "OFF") {
        m_prompts->WarningBeep();
        m_prompts->ErrorBox(texts.Text(OwnMsg::ChoosePortFirst));
        return;
    }
    const int number = ComPortComboBox.marked + 1;
    const SerialDevice& device = m_devices.at(static_cast<std::size_t>(DeviceComboBox.marked));
    if (m_links->HasEntry(number) && !m_links->EntryIsLink(number)) {
        m_prompts->WarningBeep();
        m_prompts->ErrorBox(texts.Format(OwnMsg::PortEntryNotALink, {m_links->EntryPath(number)}));
        return;
    }
    try {
        m_links->Link(number, device.path);
    } catch (const std::runtime_error& error) {
        m_prompts->WarningBeep();
        m_prompts->ErrorBox(texts.Format(OwnMsg::PortLinkFailed,
                                         {std::to_string(number), device.path, error.what()}));
    }
    RefreshPorts();
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
    // The device controls follow the serial group; Assign also needs a device.
    DeviceLabel.enabled = DeviceText.enabled = AvailableLabel.enabled = !ethernet;
    DeviceComboBox.enabled = !ethernet && !m_devices.empty();
    AssignBtn.enabled = !ethernet && !m_devices.empty();
}

void SerialForm::LoadCommSettings() {
    const std::int32_t type = m_settings.Read(keys::ConnectionType);
    // Only the lowest byte of the stored type counts: 256 is serial.
    ApplyConnectionType((type & 0xFF) != 0);
    ComPortComboBox.Mark(m_settings.Read(keys::ComPort));
    ComPortChange();
    BaudRateComboBox.Mark(m_settings.Read(keys::BaudRate));
    ParityComboBox.Mark(m_settings.Read(keys::Parity));
    DataBitsComboBox.Mark(m_settings.Read(keys::DataBits));
    StopBitsComboBox.Mark(m_settings.Read(keys::StopBits));
    m_settingsLoaded = true;
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
    m_transport.CloseForNewSettings();
    if (m_transport.Type() == ConnectionType::Ethernet) {
        // A processor that is off keeps no one from choosing its address: the settings are
        // stored first, and a failed attempt is shown without keeping the dialog open.
        SaveCommSettings();
        m_triedWithoutSuccess = false;
        try {
            m_transport.OpenConnection();
        } catch (const TcpError& error) {
            // Not asked again at once: the next exchange makes the next attempt.
            m_prompts->WarningBeep();
            m_prompts->ErrorBox(error.what());
            return true;
        }
        accepted.Emit();
        return true;
    }
    // A serial port choice is stored only once it works, so a failed try never loses the
    // working choice; until then Cancel goes back to it.
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
    settings.port =
        MarkedNumber(ComPortComboBox, OwnMsg::ComPortNotSelected, OwnMsg::ComPortInvalid);
    settings.baudRate =
        MarkedNumber(BaudRateComboBox, OwnMsg::BaudRateNotSelected, OwnMsg::BaudRateInvalid);
    settings.parity = ParityComboBox.HasMarked()
                          ? std::optional<Parity>(static_cast<Parity>(ParityComboBox.marked))
                          : std::nullopt;
    settings.dataBits =
        MarkedNumber(DataBitsComboBox, OwnMsg::DataBitsNotSelected, OwnMsg::DataBitsInvalid);
    settings.stopBits =
        MarkedNumber(StopBitsComboBox, OwnMsg::StopBitsNotSelected, OwnMsg::StopBitsInvalid);
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
