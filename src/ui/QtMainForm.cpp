#include "ui/QtMainForm.h"

#include "core/Guarded.h"
#include "forms/MainForm.h"
#include "ui/UiText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace setfolio {

namespace {

// A picture for the normal and one for the disabled state.
QIcon ButtonPicture(QStyle* style, QStyle::StandardPixmap kind) {
    const QPixmap normal = style->standardIcon(kind).pixmap(18, 18);
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    QStyleOption option;
    icon.addPixmap(style->generatedIconPixmap(QIcon::Disabled, normal, &option), QIcon::Disabled);
    return icon;
}

} // namespace

QtMainForm::QtMainForm(MainForm& form, Prompts& prompts) : m_form(form), m_prompts(prompts) {
    setObjectName("TMainForm");
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);

    auto* client = new QWidget(this);
    client->setFixedSize(form.form.clientWidth, form.form.clientHeight);
    setCentralWidget(client);

    auto* bevel = new QFrame(client);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(1, 0, 550, 8);

    m_downBtn =
        AddToolButton("DownBtn", 24, QStyle::SP_ArrowDown, [this] { m_form.DownBtnClick(); });
    m_upBtn = AddToolButton("UpBtn", 48, QStyle::SP_ArrowUp, [this] { m_form.UpBtnClick(); });
    m_libraryBtn = AddToolButton("LibraryBtn", 80, QStyle::SP_FileDialogDetailedView,
                                 [this] { m_form.LibraryBtnClick(); });
    m_comBtn =
        AddToolButton("ComBtn", 112, QStyle::SP_DriveNetIcon, [this] { m_form.ComBtnClick(); });
    m_exitBtn = AddToolButton("ExitBtn", 145, QStyle::SP_DialogCloseButton,
                              [this] { m_form.ExitBtnClick(); });

    m_modelLabel = new QLabel(client);
    m_modelLabel->setObjectName("ModelLabel");
    m_modelLabel->setGeometry(188, 12, 97, 16);
    m_modelLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_modelComboBox = new QComboBox(client);
    m_modelComboBox->setObjectName("ModelComboBox");
    m_modelComboBox->setGeometry(292, 8, 237, 23);
    m_modelComboBox->setEditable(false);
    m_modelComboBox->setMaxVisibleItems(20);
    connect(m_modelComboBox, &QComboBox::activated, this, [this](int line) {
        RunGuarded(m_prompts, [&] { m_form.ModelComboBoxChange(line); });
        Refresh();
    });

    m_messageLabel = new QLabel(client);
    m_messageLabel->setObjectName("MessageLabel");
    m_messageLabel->setGeometry(24, 46, 145, 16);

    m_messageWindow = new QPlainTextEdit(client);
    m_messageWindow->setObjectName("MessageWindow");
    m_messageWindow->setGeometry(24, 68, 505, 285);
    m_messageWindow->setReadOnly(true);
    m_messageWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = m_messageWindow->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_messageWindow->setPalette(palette);
    for (const auto& line : form.MessageWindow.Lines())
        m_messageWindow->appendPlainText(FromUtf8(line));
    m_lines = form.MessageWindow.appended.Subscribe(
        [this](const std::string& line) { m_messageWindow->appendPlainText(FromUtf8(line)); });

    m_menuMain = menuBar()->addMenu(QString());
    m_menuMain->setObjectName("MenuMain");
    m_menuDownLoad = AddMenuItem("MenuDownLoad", [this] { m_form.MenuDownLoadClick(); });
    m_menuUpLoad = AddMenuItem("MenuUpLoad", [this] { m_form.MenuUpLoadClick(); });
    m_menuViewLibrary = AddMenuItem("MenuViewLibrary", [this] { m_form.MenuViewLibraryClick(); });
    m_menuMain->addSeparator();
    m_menuLibrary = AddMenuItem("MenuLibrary", [this] { m_form.MenuLibraryClick(); });
    m_menuMain->addSeparator();
    m_menuComPort = AddMenuItem("MenuComPort", [this] { m_form.MenuComPortClick(); });
    m_menuLanguage = AddMenuItem("MenuLanguage", [this] { m_form.MenuLanguageClick(); });
    m_menuMain->addSeparator();
    m_menuExit = AddMenuItem("MenuExit", [this] { m_form.MenuExitClick(); });
    m_menuMain->addSeparator();
    m_menuAbout = AddMenuItem("MenuAbout", [this] { m_form.MenuAboutClick(); });

    setWindowTitle(FromUtf8(form.form.caption));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

QToolButton* QtMainForm::AddToolButton(const char* name, int left, int iconKind,
                                       std::function<void()> handler) {
    auto* button = new QToolButton(centralWidget());
    button->setObjectName(name);
    button->setGeometry(left, 8, 25, 25);
    button->setAutoRaise(true);
    button->setIcon(ButtonPicture(style(), static_cast<QStyle::StandardPixmap>(iconKind)));
    connect(button, &QToolButton::clicked, this, [this, handler] { Run(handler); });
    return button;
}

QAction* QtMainForm::AddMenuItem(const char* name, std::function<void()> handler) {
    QAction* action = m_menuMain->addAction(QString());
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
    return action;
}

void QtMainForm::Run(const std::function<void()>& handler) {
    RunGuarded(m_prompts, handler);
    Refresh();
}

void QtMainForm::Refresh() {
    setWindowTitle(FromUtf8(m_form.form.caption));
    const std::pair<QToolButton*, const Button*> buttons[] = {
        {m_downBtn, &m_form.DownBtn},       {m_upBtn, &m_form.UpBtn},
        {m_libraryBtn, &m_form.LibraryBtn}, {m_comBtn, &m_form.ComBtn},
        {m_exitBtn, &m_form.ExitBtn},
    };
    for (const auto& [widget, model] : buttons) {
        widget->setToolTip(FromUtf8(model->hint));
        widget->setEnabled(model->enabled);
    }
    m_modelLabel->setText(FromUtf8(m_form.ModelLabel.caption));
    m_messageLabel->setText(FromUtf8(m_form.MessageLabel.caption));
    m_modelComboBox->setToolTip(FromUtf8(m_form.ModelComboBox.hint));
    if (m_modelComboBox->count() != static_cast<int>(m_form.ModelComboBox.items.size())) {
        m_modelComboBox->clear();
        for (const auto& item : m_form.ModelComboBox.items)
            m_modelComboBox->addItem(FromUtf8(item));
    }
    m_modelComboBox->setPlaceholderText(FromUtf8(m_form.ModelComboBox.caption));
    m_modelComboBox->setCurrentIndex(m_form.ModelComboBox.marked);

    m_menuMain->setTitle(FromUtf8(m_form.MenuMain.caption));
    const std::pair<QAction*, const Control*> items[] = {
        {m_menuDownLoad, &m_form.MenuDownLoad},
        {m_menuUpLoad, &m_form.MenuUpLoad},
        {m_menuViewLibrary, &m_form.MenuViewLibrary},
        {m_menuLibrary, &m_form.MenuLibrary},
        {m_menuComPort, &m_form.MenuComPort},
        {m_menuLanguage, &m_form.MenuLanguage},
        {m_menuExit, &m_form.MenuExit},
        {m_menuAbout, &m_form.MenuAbout},
    };
    for (const auto& [action, model] : items)
        action->setText(FromUtf8(model->caption));
}

void QtMainForm::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void QtMainForm::closeEvent(QCloseEvent* event) {
    RunGuarded(m_prompts, [&] { m_form.FormClose(); });
    event->accept();
}

} // namespace setfolio
