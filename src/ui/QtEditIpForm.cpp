#include "ui/QtEditIpForm.h"

#include "core/Guarded.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include "forms/EditIpForm.h"
#include "ui/QtPrompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QValidator>

#include <exception>
#include <functional>

namespace setfolio {

namespace {

// Designed widths, in pixels of the 511 x 393 client area.
constexpr int LabelWidth = 80;
constexpr int EditWidth = 250;
constexpr int SideWidth = 110;
constexpr int ButtonWidth = 100;

// Refuses what the list file cannot hold: characters beyond single-byte text would turn into
// '?', and control characters (a pasted line break above all) would split the entry in two.
class SingleByteTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input) {
            const char16_t code = c.unicode();
            if (code < 0x20 || (code >= 0x7F && code < 0xA0) || code > 0xFF)
                return Invalid;
        }
        return Acceptable;
    }
};

void ShowEdit(QLineEdit* edit, const TextEdit& model) {
    const QString text = FromBytes(model.text);
    if (edit->text() != text)
        edit->setText(text);
    ShowControl(edit, model);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new SingleByteTextValidator(edit));
    edit->setMinimumWidth(EditWidth);
    return edit;
}

} // namespace

QtEditIpForm::QtEditIpForm(EditIpForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_form(form), m_prompts(prompts) {
    SetUpDialog(this, "EditIpForm");

    m_addressLabel = MakeLabel(this, "AddressLabel", Qt::AlignRight);
    m_addressLabel->setMinimumWidth(LabelWidth);
    m_addressEdit = MakeEdit(this, "AddressEdit");
    m_nameLabel = MakeLabel(this, "NameLabel", Qt::AlignRight);
    m_nameEdit = MakeEdit(this, "NameEdit");
    m_addBtn = MakeButton(this, "AddBtn");

    m_listLabel = MakeLabel(this, "ListLabel", Qt::AlignLeft);
    m_addressList = new QListWidget(this);
    m_addressList->setObjectName(QStringLiteral("AddressList"));
    m_addressList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_addressList->setMinimumHeight(228);

    m_upBtn = MakeButton(this, "UpBtn");
    m_upBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_downBtn = MakeButton(this, "DownBtn");
    m_downBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_deleteBtn = MakeButton(this, "DeleteBtn");
    for (QPushButton* side : {m_addBtn, m_upBtn, m_downBtn, m_deleteBtn})
        side->setMinimumWidth(SideWidth);

    m_okBtn = MakeButton(this, "OKBtn");
    m_okBtn->setDefault(true);
    m_okBtn->setMinimumWidth(ButtonWidth);
    m_cancelBtn = MakeButton(this, "CancelBtn");
    m_cancelBtn->setMinimumWidth(ButtonWidth);

    // The address and name with their captions, the list below; the buttons on the right, Add
    // level with the middle of the two edits.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->setColumnMinimumWidth(2, 18);
    grid->setColumnStretch(1, 1);
    grid->addWidget(m_addressLabel, 0, 0);
    grid->addWidget(m_addressEdit, 0, 1);
    grid->addWidget(m_nameLabel, 1, 0);
    grid->addWidget(m_nameEdit, 1, 1);
    grid->addWidget(m_addBtn, 0, 3, 2, 1, Qt::AlignVCenter);
    grid->setRowMinimumHeight(2, 4);
    grid->addWidget(m_listLabel, 3, 0, 1, 2);
    grid->addWidget(m_addressList, 4, 0, 1, 2);
    auto* side = new QVBoxLayout;
    side->setSpacing(10);
    side->addStretch(2);
    side->addWidget(m_upBtn);
    side->addWidget(m_downBtn);
    side->addSpacing(28);
    side->addWidget(m_deleteBtn);
    side->addStretch(3);
    grid->addLayout(side, 4, 3);
    grid->setRowStretch(4, 1);

    auto* buttons = CentredButtons(20, {m_okBtn, m_cancelBtn});

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(16, 18, 21, 13);
    top->setSpacing(16);
    top->addLayout(grid, 1);
    top->addLayout(buttons);

    const auto onClick = [this](QPushButton* button, std::function<void()> handler) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            RunGuarded(m_prompts, handler);
            Refresh();
        });
    };
    onClick(m_addBtn, [this] { m_form.AddBtnClick(); });
    onClick(m_upBtn, [this] { m_form.UpBtnClick(); });
    onClick(m_downBtn, [this] { m_form.DownBtnClick(); });
    onClick(m_deleteBtn, [this] { m_form.DeleteBtnClick(); });
    connect(m_okBtn, &QPushButton::clicked, this, &QtEditIpForm::Ok);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QtEditIpForm::reject);

    connect(m_addressEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_refreshing)
            m_form.AddressEdit.text = ToBytes(text);
    });
    connect(m_nameEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_refreshing)
            m_form.NameEdit.text = ToBytes(text);
    });
    connect(m_addressList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_refreshing)
            return;
        const auto selected = m_addressList->selectedItems();
        m_form.AddressList.marked = selected.isEmpty() ? -1 : m_addressList->row(selected.front());
    });

    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

void QtEditIpForm::Refresh() {
    const bool wasRefreshing = m_refreshing;
    m_refreshing = true;
    setWindowTitle(FromUtf8(m_form.form.caption));
    ShowLabel(m_addressLabel, m_form.AddressLabel);
    ShowEdit(m_addressEdit, m_form.AddressEdit);
    ShowLabel(m_nameLabel, m_form.NameLabel);
    ShowEdit(m_nameEdit, m_form.NameEdit);
    ShowButton(m_addBtn, m_form.AddBtn);
    ShowLabel(m_listLabel, m_form.ListLabel);

    const Choice& list = m_form.AddressList;
    bool same = m_addressList->count() == static_cast<int>(list.items.size());
    for (int i = 0; same && i < m_addressList->count(); ++i)
        same = m_addressList->item(i)->text() == FromBytes(list.items[static_cast<std::size_t>(i)]);
    if (!same) {
        m_addressList->clear();
        for (const auto& item : list.items)
            m_addressList->addItem(FromBytes(item));
    }
    if (list.HasMarked()) {
        m_addressList->setCurrentRow(list.marked);
        m_addressList->scrollToItem(m_addressList->currentItem());
    } else {
        m_addressList->clearSelection();
        m_addressList->setCurrentRow(-1);
    }
    ShowControl(m_addressList, list);

    ShowButton(m_upBtn, m_form.UpBtn);
    ShowButton(m_downBtn, m_form.DownBtn);
    ShowButton(m_deleteBtn, m_form.DeleteBtn);
    ShowButton(m_okBtn, m_form.OKBtn);
    ShowButton(m_cancelBtn, m_form.CancelBtn);
    FitDialog(this, {m_form.form.clientWidth, m_form.form.clientHeight});
    m_refreshing = wasRefreshing;
}

int QtEditIpForm::ShowModal() {
    m_form.ShowIpListDialog();
    Refresh();
    return exec();
}

void QtEditIpForm::Ok() {
    // When the list cannot be written nothing has changed: the dialog stays open.
    const bool saved = RunGuarded(m_prompts, [this] { m_form.OKBtnClick(); });
    Refresh();
    if (saved)
        accept();
}

void QtEditIpForm::reject() {
    RunGuarded(m_prompts, [this] { m_form.CancelBtnClick(); });
    Refresh();
    QDialog::reject();
}

} // namespace setfolio
