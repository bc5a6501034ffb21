#pragma once

#include "core/Signal.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolButton;

namespace setfolio {

class MainForm;
class Prompts;

// The main window: shows the MainForm model and hands every event to it.
class QtMainForm : public QMainWindow {
public:
    QtMainForm(MainForm& form, Prompts& prompts);

    // Shows the model's current captions, hints, model list and marked line.
    void Refresh();
    // Puts the window in the middle of the screen it is on (or the primary one).
    void CentreOnScreen();
    // Shows the window where it was when the program last ended, when that is still on a
    // screen; else in the middle of the screen at its designed size.
    void ShowWhereItWas();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* AddToolButton(const char* name, int iconKind, std::function<void()> handler);
    QAction* AddMenuItem(const char* name, std::function<void()> handler);
    void Run(const std::function<void()>& handler);
    void ShowMessageMenu(const QPoint& where);
    void ShowStatus();

    MainForm& m_form;

    Subscription m_lines;
    Subscription m_cleared;
    Subscription m_changed; // shows the model again whenever it signals a change
    Subscription m_status;
    Prompts& m_prompts;
    QToolButton* m_downBtn = nullptr;
    QToolButton* m_upBtn = nullptr;
    QToolButton* m_libraryBtn = nullptr;
    QToolButton* m_comBtn = nullptr;
    QToolButton* m_exitBtn = nullptr;
    QLabel* m_modelLabel = nullptr;
    QComboBox* m_modelComboBox = nullptr;
    QLabel* m_messageLabel = nullptr;
    QPlainTextEdit* m_messageWindow = nullptr;
    QMenu* m_menuMain = nullptr;
    QAction* m_menuDownLoad = nullptr;
    QAction* m_menuUpLoad = nullptr;
    QAction* m_menuPlant = nullptr;
    QAction* m_menuViewLibrary = nullptr;
    QAction* m_menuLibrary = nullptr;
    QAction* m_menuComPort = nullptr;
    QAction* m_menuLanguage = nullptr;
    QAction* m_menuTrace = nullptr;
    QAction* m_menuExit = nullptr;
    QAction* m_menuAbout = nullptr;
    QAction* m_messageSave = nullptr;
    QAction* m_messageClear = nullptr;
    QLabel* m_statusLink = nullptr;
    QLabel* m_statusAnswer = nullptr;
};

} // namespace setfolio
