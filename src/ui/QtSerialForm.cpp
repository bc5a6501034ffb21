#include "ui/QtSerialForm.h"

#include "core/Guarded.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include "forms/SerialForm.h"
#include "ui/QtPrompts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

#include <exception>

namespace setfolio {

namespace {

QColor ToQColor(Colour colour) {
    return {colour.red, colour.green, colour.blue};
}

void ShowGroup(QGroupBox* group, const Label& model) {
    group->setTitle(FromUtf8(model.caption));
    ShowControl(group, model);
    // The grey caption marks the connection type not in use, and the group is disabled then.
    QPalette palette = group->palette();
    palette.setColor(QPalette::WindowText, ToQColor(model.colour));
    group->setPalette(palette);
}

void ShowChoice(QComboBox* box, const Choice& choice, QString (*convert)(const std::string&)) {
    QStringList items;
    for (const auto& item : choice.items)
        items << convert(item);
    bool same = box->count() == items.size();
    for (int i = 0; same && i < box->count(); ++i)
        same = box->itemText(i) == items[i];
    if (!same) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(choice.HasMarked() ? choice.marked : -1);
    ShowControl(box, choice);
}

QComboBox* MakeComboBox(QWidget* parent, const char* name, int width) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(width);
    return box;
}

QRadioButton* MakeRadioButton(QWidget* parent, const char* name) {
    auto* button = new QRadioButton(parent);
    button->setObjectName(QLatin1String(name));
    // The form model decides which one is checked.
    button->setAutoExclusive(false);
    return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    return group;
}

// The COM port list's lines with, to the right of each number, the device it leads to (the
// line's DeviceRole); the lines' own texts stay the numbers.
constexpr int DeviceRole = Qt::UserRole + 1;
constexpr int DeviceGap = 24;

class PortLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QString device = index.data(DeviceRole).toString();
        if (device.isEmpty())
            return;
        const QRect area = option.rect.adjusted(NumberWidth(option), 0, -4, 0);
        painter->save();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(device, Qt::ElideMiddle, area.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString device = index.data(DeviceRole).toString();
        if (!device.isEmpty())
            size.setWidth(NumberWidth(option) + option.fontMetrics.horizontalAdvance(device) + 8);
        return size;
    }

private:
    static int NumberWidth(const QStyleOptionViewItem& option) {
        return option.fontMetrics.horizontalAdvance(QStringLiteral("OFF")) + DeviceGap;
    }
};

// Designed sizes, in pixels of the 471 x 343 client area (more by PortRowsHeight with the device
// rows).
constexpr int GroupLeft = 40;
constexpr int RadioSize = 20;
constexpr int LabelWidth = 96;
constexpr int BoxWidth = 92;
constexpr int PortRowsHeight = 76;

// Left of a group, level with the middle of its frame (the style may put the caption above the
// frame), so each button reads as the switch for its group.
void PlaceBeside(QRadioButton* radio, const QGroupBox* group) {
    const int middle = group->y() + group->contentsRect().center().y();
    radio->setGeometry((GroupLeft - RadioSize) / 2, middle - RadioSize / 2, RadioSize, RadioSize);
}

QLabel* MakeRowLabel(QWidget* parent, const char* name) {
    QLabel* label = MakeLabel(parent, name, Qt::AlignRight);
    label->setMinimumWidth(LabelWidth);
    return label;
}

} // namespace

QtSerialForm::QtSerialForm(SerialForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_form(form), m_prompts(prompts) {
    // The rows of the devices the COM ports lead to, when the dialog has them, below the
    // serial settings.
    const bool devices = m_form.DeviceLabel.visible;
    SetUpDialog(this, "SerialForm");

    m_ethernetBtn = MakeRadioButton(this, "EthernetBtn");
    m_serialBtn = MakeRadioButton(this, "SerialBtn");

    // The address list, centred in its group.
    m_ethernetGroup = MakeGroup(this, "EthernetGroup");
    m_ipAddressLabel = MakeLabel(m_ethernetGroup, "IpAddressLabel", Qt::AlignHCenter);
    m_ipAddressBox = MakeComboBox(m_ethernetGroup, "IpAddressBox", 280);
    // Entries of any length fit the open list; the box keeps its width.
    m_ipAddressBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_editBtn = MakeButton(m_ethernetGroup, "EditBtn");
    m_editBtn->setMinimumWidth(140);
    auto* ethernet = new QVBoxLayout(m_ethernetGroup);
    ethernet->setContentsMargins(8, 6, 8, 10);
    ethernet->setSpacing(6);
    ethernet->addWidget(m_ipAddressLabel);
    ethernet->addWidget(m_ipAddressBox, 0, Qt::AlignHCenter);
    ethernet->addSpacing(4);
    ethernet->addWidget(m_editBtn, 0, Qt::AlignHCenter);

    // The line settings in two columns of captions and lists.
    m_serialGroup = MakeGroup(this, "SerialGroup");
    m_comPortLabel = MakeRowLabel(m_serialGroup, "ComPortLabel");
    m_comPortComboBox = MakeComboBox(m_serialGroup, "ComPortComboBox", BoxWidth);
    m_baudRateLabel = MakeRowLabel(m_serialGroup, "BaudRateLabel");
    m_baudRateComboBox = MakeComboBox(m_serialGroup, "BaudRateComboBox", BoxWidth);
    m_parityLabel = MakeRowLabel(m_serialGroup, "ParityLabel");
    m_parityComboBox = MakeComboBox(m_serialGroup, "ParityComboBox", BoxWidth);
    m_dataBitsLabel = MakeRowLabel(m_serialGroup, "DataBitsLabel");
    m_dataBitsComboBox = MakeComboBox(m_serialGroup, "DataBitsComboBox", BoxWidth);
    m_stopBitsLabel = MakeRowLabel(m_serialGroup, "StopBitsLabel");
    m_stopBitsComboBox = MakeComboBox(m_serialGroup, "StopBitsComboBox", BoxWidth);
    auto* serial = new QGridLayout(m_serialGroup);
    serial->setContentsMargins(5, 10, 4, 12);
    serial->setHorizontalSpacing(8);
    serial->setVerticalSpacing(16);
    serial->setColumnStretch(3, 1);
    serial->addWidget(m_comPortLabel, 0, 0);
    serial->addWidget(m_comPortComboBox, 0, 1);
    serial->addWidget(m_baudRateLabel, 1, 0);
    serial->addWidget(m_baudRateComboBox, 1, 1);
    serial->addWidget(m_parityLabel, 2, 0);
    serial->addWidget(m_parityComboBox, 2, 1);
    serial->addWidget(m_dataBitsLabel, 0, 2);
    serial->addWidget(m_dataBitsComboBox, 0, 3);
    serial->addWidget(m_stopBitsLabel, 1, 2);
    serial->addWidget(m_stopBitsComboBox, 1, 3);

    m_comPortComboBox->setItemDelegate(new PortLineDelegate(m_comPortComboBox));
    // The rows of the devices the COM ports lead to, when the dialog has them, below the
    // serial settings.
    if (devices) {
        m_deviceLabel = MakeRowLabel(m_serialGroup, "DeviceLabel");
        m_deviceText = MakeLabel(m_serialGroup, "DeviceText", Qt::AlignLeft);
        m_deviceText->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long device name is shortened in the middle to the room there is.
        m_deviceText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_availableLabel = MakeRowLabel(m_serialGroup, "AvailableLabel");
        m_deviceComboBox = MakeComboBox(m_serialGroup, "DeviceComboBox", 200);
        m_deviceComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        m_assignBtn = MakeButton(m_serialGroup, "AssignBtn");
        auto* available = new QHBoxLayout;
        available->setSpacing(8);
        available->addWidget(m_deviceComboBox, 1);
        available->addWidget(m_assignBtn);
        serial->addWidget(m_deviceLabel, 3, 0);
        serial->addWidget(m_deviceText, 3, 1, 1, 3);
        serial->addWidget(m_availableLabel, 4, 0);
        serial->addLayout(available, 4, 1, 1, 3);
        serial->setRowMinimumHeight(3, 24);
        connect(m_assignBtn, &QPushButton::clicked, this, [this] {
            RunGuarded(m_prompts, [this] { m_form.AssignBtnClick(); });
            Refresh();
        });
        connect(m_deviceComboBox, &QComboBox::activated, this, [this](int line) {
            if (!m_refreshing)
                m_form.DeviceComboBox.marked = line;
        });
    }

    m_okBtn = MakeButton(this, "OKBtn");
    m_okBtn->setDefault(true);
    m_okBtn->setMinimumWidth(90);
    m_cancelBtn = MakeButton(this, "CancelBtn");
    m_cancelBtn->setMinimumWidth(90);

    // The groups, with room on their left for the radio buttons that switch them; OK and
    // Cancel in the middle below.
    auto* groups = new QVBoxLayout;
    groups->setContentsMargins(GroupLeft, 0, 0, 0);
    groups->setSpacing(12);
    groups->addWidget(m_ethernetGroup);
    groups->addWidget(m_serialGroup);
    auto* buttons = CentredButtons(20, {m_okBtn, m_cancelBtn});
    buttons->setContentsMargins(16, 0, 0, 0);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 8, 16, 15);
    top->setSpacing(18);
    top->addLayout(groups);
    top->addStretch(1);
    top->addLayout(buttons);

    connect(m_ethernetBtn, &QRadioButton::clicked, this, [this] {
        RunGuarded(m_prompts, [this] { m_form.EthernetBtnClick(); });
        Refresh();
    });
    connect(m_serialBtn, &QRadioButton::clicked, this, [this] {
        RunGuarded(m_prompts, [this] { m_form.SerialBtnClick(); });
        Refresh();
    });
    connect(m_editBtn, &QPushButton::clicked, this, [this] {
        // The IP address list dialog may have reloaded the address list.
        RunGuarded(m_prompts, [this] { m_form.EditBtnClick(); });
        Refresh();
    });
    connect(m_okBtn, &QPushButton::clicked, this, &QtSerialForm::Ok);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QtSerialForm::reject);

    const auto follow = [this](QComboBox* box, Choice& choice) {
        connect(box, &QComboBox::activated, this, [this, &choice](int line) {
            if (!m_refreshing)
                choice.marked = line;
        });
    };
    follow(m_ipAddressBox, m_form.IpAddressBox);
    follow(m_comPortComboBox, m_form.ComPortComboBox);
    follow(m_baudRateComboBox, m_form.BaudRateComboBox);
    follow(m_parityComboBox, m_form.ParityComboBox);
    follow(m_dataBitsComboBox, m_form.DataBitsComboBox);
    follow(m_stopBitsComboBox, m_form.StopBitsComboBox);
    connect(m_comPortComboBox, &QComboBox::activated, this, [this] {
        if (m_refreshing)
            return;
        m_form.ComPortChange();
        Refresh();
    });

    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

void QtSerialForm::Refresh() {
    const bool wasRefreshing = m_refreshing;
    m_refreshing = true;
    setWindowTitle(FromUtf8(m_form.form.caption));
    ShowButton(m_ethernetBtn, m_form.EthernetBtn);
    m_ethernetBtn->setChecked(m_form.EthernetBtn.checked);
    ShowButton(m_serialBtn, m_form.SerialBtn);
    m_serialBtn->setChecked(m_form.SerialBtn.checked);
    ShowGroup(m_ethernetGroup, m_form.EthernetGroup);
    ShowGroup(m_serialGroup, m_form.SerialGroup);
    ShowLabel(m_ipAddressLabel, m_form.IpAddressLabel);
    ShowChoice(m_ipAddressBox, m_form.IpAddressBox, FromBytes);
    ShowButton(m_editBtn, m_form.EditBtn);
    ShowLabel(m_comPortLabel, m_form.ComPortLabel);
    ShowChoice(m_comPortComboBox, m_form.ComPortComboBox, FromUtf8);
    ShowLabel(m_baudRateLabel, m_form.BaudRateLabel);
    ShowChoice(m_baudRateComboBox, m_form.BaudRateComboBox, FromUtf8);
    ShowLabel(m_parityLabel, m_form.ParityLabel);
    ShowChoice(m_parityComboBox, m_form.ParityComboBox, FromUtf8);
    ShowLabel(m_dataBitsLabel, m_form.DataBitsLabel);
    ShowChoice(m_dataBitsComboBox, m_form.DataBitsComboBox, FromUtf8);
    ShowLabel(m_stopBitsLabel, m_form.StopBitsLabel);
    ShowChoice(m_stopBitsComboBox, m_form.StopBitsComboBox, FromUtf8);
    ShowPorts();
    ShowButton(m_okBtn, m_form.OKBtn);
    ShowButton(m_cancelBtn, m_form.CancelBtn);
    const int extra = m_deviceLabel ? PortRowsHeight : 0;
    FitDialog(this, {m_form.form.clientWidth, m_form.form.clientHeight + extra});
    PlaceBeside(m_ethernetBtn, m_ethernetGroup);
    PlaceBeside(m_serialBtn, m_serialGroup);
    ShowDevice();
    m_refreshing = wasRefreshing;
}

void QtSerialForm::ShowPorts() {
    const auto& devices = m_form.ComPortDevices;
    int widest = 0;
    const QFontMetrics metrics(m_comPortComboBox->font());
    for (int line = 0; line < m_comPortComboBox->count(); ++line) {
        const QString device = static_cast<std::size_t>(line) < devices.size()
                                   ? FromUtf8(devices[static_cast<std::size_t>(line)])
                                   : QString();
        m_comPortComboBox->setItemData(line, device, DeviceRole);
        widest = std::max(widest, metrics.horizontalAdvance(device));
    }
    // The open list is wide enough for the devices beside the numbers.
    m_comPortComboBox->view()->setMinimumWidth(
        widest > 0
            ? std::min(metrics.horizontalAdvance(QStringLiteral("OFF")) + DeviceGap + widest + 32,
                       640)
            : 0);
    if (!m_deviceLabel)
        return;
    ShowLabel(m_deviceLabel, m_form.DeviceLabel);
    ShowLabel(m_availableLabel, m_form.AvailableLabel);
    ShowChoice(m_deviceComboBox, m_form.DeviceComboBox, FromUtf8);
    // The whole line of a device whose name the box cuts off is its hint.
    m_deviceComboBox->setToolTip(m_form.DeviceComboBox.HasMarked()
                                     ? FromUtf8(m_form.DeviceComboBox.MarkedText())
                                     : FromUtf8(m_form.DeviceComboBox.hint));
    ShowButton(m_assignBtn, m_form.AssignBtn);
}

void QtSerialForm::ShowDevice() {
    if (!m_deviceText)
        return;
    // Shortened to the room the layout gave it.
    const QString device = FromUtf8(m_form.DeviceText.caption);
    m_deviceText->setText(
        m_deviceText->fontMetrics().elidedText(device, Qt::ElideMiddle, m_deviceText->width()));
    m_deviceText->setToolTip(device == m_deviceText->text() ? FromUtf8(m_form.DeviceText.hint)
                                                            : device);
    m_deviceText->setEnabled(m_form.DeviceText.enabled);
    m_deviceText->setVisible(m_form.DeviceText.visible);
}

int QtSerialForm::ShowModal() {
    // Devices come and go: what the ports lead to is read afresh each time.
    RunGuarded(m_prompts, [this] { m_form.RefreshPorts(); });
    Refresh();
    return exec();
}

void QtSerialForm::Ok() {
    bool closes = false;
    // An error (a serial setting that cannot be read) has been shown by then; like a port error
    // it keeps the dialog open, where Cancel goes back to the settings that worked.
    const bool ran = RunGuarded(m_prompts, [&] { closes = m_form.OKBtnClick(); });
    Refresh();
    if (ran && closes)
        accept();
}

void QtSerialForm::reject() {
    RunGuarded(m_prompts, [this] { m_form.CancelBtnClick(); });
    Refresh();
    QDialog::reject();
}

} // namespace setfolio
