#include "ui/QtMainForm.h"

#include "core/Guarded.h"
#include "forms/MainForm.h"
#include "ui/UiText.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <QVBoxLayout>

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

// The application's style, with Alt (pressed and released alone) taking the keyboard to the
// menu bar, whatever the style does by itself.
class AltKeyMenuStyle : public QProxyStyle {
public:
    AltKeyMenuStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// The message window. Made narrower or wider, it lays its lines out anew, which would leave the
// view at the top: the newest line stays in view, unless the user had scrolled back.
class MessageView : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollBar* bar = verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        QPlainTextEdit::resizeEvent(event);
        if (atEnd)
            bar->setValue(bar->maximum());
    }
};

} // namespace

QtMainForm::QtMainForm(MainForm& form, Prompts& prompts) : m_form(form), m_prompts(prompts) {
    setObjectName("TMainForm");

    auto* client = new QWidget(this);
    setCentralWidget(client);

    auto* bevel = new QFrame(client);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setFixedHeight(8);

    m_downBtn = AddToolButton("DownBtn", QStyle::SP_ArrowDown, [this] { m_form.DownBtnClick(); });
    m_upBtn = AddToolButton("UpBtn", QStyle::SP_ArrowUp, [this] { m_form.UpBtnClick(); });
    m_libraryBtn = AddToolButton("LibraryBtn", QStyle::SP_FileDialogDetailedView,
                                 [this] { m_form.LibraryBtnClick(); });
    m_comBtn = AddToolButton("ComBtn", QStyle::SP_DriveNetIcon, [this] { m_form.ComBtnClick(); });
    m_exitBtn =
        AddToolButton("ExitBtn", QStyle::SP_DialogCloseButton, [this] { m_form.ExitBtnClick(); });

    m_modelLabel = new QLabel(client);
    m_modelLabel->setObjectName("ModelLabel");
    m_modelLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_modelComboBox = new QComboBox(client);
    m_modelComboBox->setObjectName("ModelComboBox");
    m_modelComboBox->setMinimumWidth(237);
    m_modelComboBox->setEditable(false);
    m_modelComboBox->setMaxVisibleItems(20);
    connect(m_modelComboBox, &QComboBox::activated, this, [this](int line) {
        RunGuarded(m_prompts, [&] { m_form.ModelComboBoxChange(line); });
        Refresh();
    });

    m_messageLabel = new QLabel(client);
    m_messageLabel->setObjectName("MessageLabel");
    m_messageLabel->setMinimumHeight(16);

    m_messageWindow = new MessageView(client);
    m_messageWindow->setObjectName("MessageWindow");
    m_messageWindow->setReadOnly(true);
    m_messageWindow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = m_messageWindow->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    m_messageWindow->setPalette(palette);
    for (const auto& line : form.MessageWindow.Lines())
        m_messageWindow->appendPlainText(FromUtf8(line));
    m_lines = form.MessageWindow.appended.Subscribe(
        [this](const std::string& line) { m_messageWindow->appendPlainText(FromUtf8(line)); });
    m_cleared = form.MessageWindow.cleared.Subscribe([this] { m_messageWindow->clear(); });
    m_messageWindow->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_messageWindow, &QWidget::customContextMenuRequested, this,
            &QtMainForm::ShowMessageMenu);
    m_messageSave = new QAction(this);
    m_messageSave->setObjectName("MessageSave");
    connect(m_messageSave, &QAction::triggered, this, [this] {
        // The file gets what the window shows: the same conversion of each line's bytes.
        Run([this] {
            m_form.MessageSaveClick(
                [](const std::string& line) { return FromUtf8(line).toUtf8().toStdString(); });
        });
    });
    m_messageClear = new QAction(this);
    m_messageClear->setObjectName("MessageClear");
    connect(m_messageClear, &QAction::triggered, this,
            [this] { Run([this] { m_form.MessageClearClick(); }); });

    // The tool buttons in groups, the model list on the right; the message log below takes what
    // the window grows by.
    auto* tools = new QHBoxLayout;
    tools->setSpacing(0);
    tools->addWidget(m_downBtn);
    tools->addWidget(m_upBtn);
    for (QToolButton* button : {m_libraryBtn, m_comBtn, m_exitBtn}) {
        tools->addSpacing(7);
        tools->addWidget(button);
    }
    tools->addSpacing(16);
    tools->addStretch(1);
    tools->addWidget(m_modelLabel);
    tools->addSpacing(7);
    tools->addWidget(m_modelComboBox);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(23, 0, 22, 21);
    content->setSpacing(0);
    content->addLayout(tools);
    content->addSpacing(13);
    content->addWidget(m_messageLabel);
    content->addSpacing(6);
    content->addWidget(m_messageWindow, 1);
    auto* top = new QVBoxLayout(client);
    top->setContentsMargins(1, 0, 1, 0);
    top->setSpacing(0);
    top->addWidget(bevel);
    top->addLayout(content, 1);

    auto* altKeyStyle = new AltKeyMenuStyle;
    altKeyStyle->setParent(menuBar());
    menuBar()->setStyle(altKeyStyle);
    m_menuMain = menuBar()->addMenu(QString());
    m_menuMain->setObjectName("MenuMain");
    m_menuDownLoad = AddMenuItem("MenuDownLoad", [this] { m_form.MenuDownLoadClick(); });
    m_menuUpLoad = AddMenuItem("MenuUpLoad", [this] { m_form.MenuUpLoadClick(); });
    m_menuViewLibrary = AddMenuItem("MenuViewLibrary", [this] { m_form.MenuViewLibraryClick(); });
    m_menuPlant = AddMenuItem("MenuPlant", [this] { m_form.MenuPlantClick(); });
    m_menuMain->addSeparator();
    m_menuLibrary = AddMenuItem("MenuLibrary", [this] { m_form.MenuLibraryClick(); });
    m_menuMain->addSeparator();
    m_menuComPort = AddMenuItem("MenuComPort", [this] { m_form.MenuComPortClick(); });
    m_menuLanguage = AddMenuItem("MenuLanguage", [this] { m_form.MenuLanguageClick(); });
    m_menuTrace = AddMenuItem("MenuTrace", [this] { m_form.MenuTraceClick(); });
    m_menuTrace->setCheckable(true);
    m_menuMain->addSeparator();
    m_menuExit = AddMenuItem("MenuExit", [this] { m_form.MenuExitClick(); });
    m_menuMain->addSeparator();
    m_menuAbout = AddMenuItem("MenuAbout", [this] { m_form.MenuAboutClick(); });
    // The shortcuts work with the menu closed, in every language, and the menu shows them.
    const std::pair<QAction*, QKeySequence> shortcuts[] = {
        {m_menuDownLoad, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {m_menuUpLoad, QKeySequence(Qt::CTRL | Qt::Key_U)},
        {m_menuLibrary, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {m_menuExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {m_menuAbout, QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [action, keys] : shortcuts) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    // F10 opens the menu, as Alt and the title's marked letter do.
    auto* menuKey = new QAction(this);
    menuKey->setObjectName("MenuKey");
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this,
            [this] { menuBar()->setActiveAction(m_menuMain->menuAction()); });
    addAction(menuKey);

    m_statusLink = new QLabel(this);
    m_statusLink->setObjectName("StatusLink");
    m_statusLink->setContentsMargins(6, 0, 0, 0);
    m_statusAnswer = new QLabel(this);
    m_statusAnswer->setObjectName("StatusAnswer");
    statusBar()->setObjectName("StatusBar");
    statusBar()->addWidget(m_statusLink, 1);
    statusBar()->addPermanentWidget(m_statusAnswer);

    setWindowTitle(FromUtf8(form.form.caption));
    m_changed = form.changed.Subscribe([this] { Refresh(); });
    m_status = form.statusChanged.Subscribe([this] { ShowStatus(); });
    Refresh();
    resize(minimumSizeHint()); // the designed size
}

void QtMainForm::ShowMessageMenu(const QPoint& where) {
    QMenu* menu = m_messageWindow->createStandardContextMenu(where);
    menu->addSeparator();
    menu->addAction(m_messageSave);
    menu->addAction(m_messageClear);
    menu->exec(m_messageWindow->viewport()->mapToGlobal(where));
    delete menu;
}

QToolButton* QtMainForm::AddToolButton(const char* name, int iconKind,
                                       std::function<void()> handler) {
    auto* button = new QToolButton(centralWidget());
    button->setObjectName(name);
    button->setMinimumSize(25, 25);
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

    m_menuMain->setTitle(FromUtf8(m_form.MenuTitle()));
    const std::pair<QAction*, const Control*> items[] = {
        {m_menuDownLoad, &m_form.MenuDownLoad},
        {m_menuUpLoad, &m_form.MenuUpLoad},
        {m_menuViewLibrary, &m_form.MenuViewLibrary},
        {m_menuPlant, &m_form.MenuPlant},
        {m_menuLibrary, &m_form.MenuLibrary},
        {m_menuComPort, &m_form.MenuComPort},
        {m_menuLanguage, &m_form.MenuLanguage},
        {m_menuTrace, &m_form.MenuTrace},
        {m_menuExit, &m_form.MenuExit},
        {m_menuAbout, &m_form.MenuAbout},
    };
    for (const auto& [action, model] : items)
        action->setText(FromUtf8(model->caption));
    m_menuTrace->setChecked(m_form.MenuTrace.checked);
    m_messageSave->setText(FromUtf8(m_form.MessageSave.caption));
    m_messageClear->setText(FromUtf8(m_form.MessageClear.caption));
    ShowStatus();
    // The designed client size, or more where the texts in the system font need it.
    QLayout* layout = centralWidget()->layout();
    layout->invalidate();
    layout->activate();
    centralWidget()->setMinimumSize(QSize(m_form.form.clientWidth, m_form.form.clientHeight)
                                        .expandedTo(layout->totalSizeHint()));
}

void QtMainForm::ShowStatus() {
    m_statusLink->setText(FromUtf8(m_form.StatusLinkText()));
    m_statusAnswer->setText(FromUtf8(m_form.StatusAnswerText()));
}

void QtMainForm::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    resize(minimumSizeHint());
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void QtMainForm::ShowWhereItWas() {
    const auto stored = m_form.StoredPlacement();
    if (stored) {
        const QRect place(stored->x, stored->y, stored->width, stored->height);
        for (const QScreen* screen : QGuiApplication::screens()) {
            // Enough of the window on a screen that is still there to take hold of it.
            const QRect seen = screen->availableGeometry().intersected(place);
            if (seen.width() >= 100 && seen.height() >= 50) {
                setGeometry(place);
                if (stored->maximized)
                    showMaximized();
                else
                    show();
                return;
            }
        }
    }
    CentreOnScreen();
    show();
}

void QtMainForm::closeEvent(QCloseEvent* event) {
    const QRect place = isMaximized() ? normalGeometry() : geometry();
    RunGuarded(m_prompts, [&] {
        m_form.StorePlacement({place.x(), place.y(), place.width(), place.height(), isMaximized()});
    });
    RunGuarded(m_prompts, [&] { m_form.FormClose(); });
    event->accept();
}

} // namespace setfolio
