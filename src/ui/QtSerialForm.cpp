#include "ui/QtSerialForm.h"

#include "core/Guarded.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include "forms/SerialForm.h"
#include "ui/QtPrompts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>

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

QComboBox* MakeComboBox(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QRadioButton* MakeRadioButton(QWidget* parent, const char* name) {
    auto* button = new QRadioButton(parent);
    button->setObjectName(QLatin1String(name));
    // The form model decides which one is checked.
    button->setAutoExclusive(false);
    return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, QRect geometry) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
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

// Layout, in pixels of the 471 x 343 client area (more by PortRowsHeight with the device rows).
constexpr int GroupLeft = 40;
constexpr int GroupWidth = 415;
constexpr QRect EthernetGroupRect{GroupLeft, 8, GroupWidth, 118};
constexpr QRect SerialGroupRect{GroupLeft, 138, GroupWidth, 146};
constexpr int RadioSize = 20;
constexpr int LabelWidth = 96;
constexpr int BoxWidth = 92;
constexpr int RowHeight = 24;
constexpr int FirstColumn = 8;
constexpr int SecondColumn = 208;
constexpr int Row[] = {32, 72, 112, 152, 188};
constexpr int PortRowsHeight = 76;
constexpr int ValueLeft = FirstColumn + LabelWidth + 8;

// Left of a group, level with the middle of its frame (the style may put the caption above the
// frame), so each button reads as the switch for its group.
void PlaceBeside(QRadioButton* radio, const QGroupBox* group) {
    const int middle = group->y() + group->contentsRect().center().y();
    radio->setGeometry((GroupLeft - RadioSize) / 2, middle - RadioSize / 2, RadioSize, RadioSize);
}

QRect LabelRect(int column, int row) {
    return {column, Row[row], LabelWidth, RowHeight};
}
QRect BoxRect(int column, int row) {
    return {column + LabelWidth + 8, Row[row], BoxWidth, RowHeight};
}

} // namespace

QtSerialForm::QtSerialForm(SerialForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_form(form), m_prompts(prompts) {
    // The rows of the devices the COM ports lead to, when the dialog has them, below the
    // serial settings.
    const int extra = m_form.DeviceLabel.visible ? PortRowsHeight : 0;
    SetUpDialog(this, "SerialForm", m_form.form.clientWidth, m_form.form.clientHeight + extra);

    m_ethernetBtn = MakeRadioButton(this, "EthernetBtn");
    m_serialBtn = MakeRadioButton(this, "SerialBtn");

    m_ethernetGroup = MakeGroup(this, "EthernetGroup", EthernetGroupRect);
    m_ipAddressLabel = MakeLabel(m_ethernetGroup, "IpAddressLabel", Qt::AlignHCenter,
                                 {8, 26, GroupWidth - 16, 18});
    m_ipAddressBox =
        MakeComboBox(m_ethernetGroup, "IpAddressBox", {(GroupWidth - 280) / 2, 48, 280, RowHeight});
    m_editBtn = MakeButton(m_ethernetGroup, "EditBtn", {(GroupWidth - 140) / 2, 82, 140, 26});

    m_serialGroup = MakeGroup(this, "SerialGroup", SerialGroupRect.adjusted(0, 0, 0, extra));
    const auto right = Qt::AlignRight;
    m_comPortLabel = MakeLabel(m_serialGroup, "ComPortLabel", right, LabelRect(FirstColumn, 0));
    m_comPortComboBox = MakeComboBox(m_serialGroup, "ComPortComboBox", BoxRect(FirstColumn, 0));
    m_baudRateLabel = MakeLabel(m_serialGroup, "BaudRateLabel", right, LabelRect(FirstColumn, 1));
    m_baudRateComboBox = MakeComboBox(m_serialGroup, "BaudRateComboBox", BoxRect(FirstColumn, 1));
    m_parityLabel = MakeLabel(m_serialGroup, "ParityLabel", right, LabelRect(FirstColumn, 2));
    m_parityComboBox = MakeComboBox(m_serialGroup, "ParityComboBox", BoxRect(FirstColumn, 2));
    m_dataBitsLabel = MakeLabel(m_serialGroup, "DataBitsLabel", right, LabelRect(SecondColumn, 0));
    m_dataBitsComboBox = MakeComboBox(m_serialGroup, "DataBitsComboBox", BoxRect(SecondColumn, 0));
    m_stopBitsLabel = MakeLabel(m_serialGroup, "StopBitsLabel", right, LabelRect(SecondColumn, 1));
    m_stopBitsComboBox = MakeComboBox(m_serialGroup, "StopBitsComboBox", BoxRect(SecondColumn, 1));

    m_comPortComboBox->setItemDelegate(new PortLineDelegate(m_comPortComboBox));
    if (extra > 0) {
        m_deviceLabel = MakeLabel(m_serialGroup, "DeviceLabel", right, LabelRect(FirstColumn, 3));
        m_deviceText = MakeLabel(m_serialGroup, "DeviceText", Qt::AlignLeft,
                                 {ValueLeft, Row[3], GroupWidth - ValueLeft - 8, RowHeight});
        m_deviceText->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_availableLabel =
            MakeLabel(m_serialGroup, "AvailableLabel", right, LabelRect(FirstColumn, 4));
        m_deviceComboBox =
            MakeComboBox(m_serialGroup, "DeviceComboBox", {ValueLeft, Row[4], 200, RowHeight});
        m_deviceComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        m_assignBtn = MakeButton(m_serialGroup, "AssignBtn",
                                 {ValueLeft + 208, Row[4] - 1, GroupWidth - ValueLeft - 216, 26});
        connect(m_assignBtn, &QPushButton::clicked, this, [this] {
            RunGuarded(m_prompts, [this] { m_form.AssignBtnClick(); });
            Refresh();
        });
        connect(m_deviceComboBox, &QComboBox::activated, this, [this](int line) {
            if (!m_refreshing)
                m_form.DeviceComboBox.marked = line;
        });
    }

    m_okBtn = MakeButton(this, "OKBtn", {135, 302 + extra, 90, 26});
    m_okBtn->setDefault(true);
    m_cancelBtn = MakeButton(this, "CancelBtn", {245, 302 + extra, 90, 26});

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
    PlaceBeside(m_ethernetBtn, m_ethernetGroup);
    PlaceBeside(m_serialBtn, m_serialGroup);
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
    const QString device = FromUtf8(m_form.DeviceText.caption);
    m_deviceText->setText(metrics.elidedText(device, Qt::ElideMiddle, m_deviceText->width()));
    m_deviceText->setToolTip(device == m_deviceText->text() ? FromUtf8(m_form.DeviceText.hint)
                                                            : device);
    m_deviceText->setEnabled(m_form.DeviceText.enabled);
    m_deviceText->setVisible(m_form.DeviceText.visible);
    ShowLabel(m_availableLabel, m_form.AvailableLabel);
    ShowChoice(m_deviceComboBox, m_form.DeviceComboBox, FromUtf8);
    // The whole line of a device whose name the box cuts off is its hint.
    m_deviceComboBox->setToolTip(m_form.DeviceComboBox.HasMarked()
                                     ? FromUtf8(m_form.DeviceComboBox.MarkedText())
                                     : FromUtf8(m_form.DeviceComboBox.hint));
    ShowButton(m_assignBtn, m_form.AssignBtn);
}

int QtSerialForm::ShowModal() {
    // Devices come and go: what the ports lead to is read afresh each time.
    RunGuarded(m_prompts, [this] { m_form.RefreshPorts(); });
    Refresh();
    return exec();
}

void QtSerialForm::Ok() {
    bool closes = false;
    // An error (a connection that cannot be made) has been shown by then; like a port error it
    // keeps the dialog open, where Cancel goes back to the settings that worked.
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
