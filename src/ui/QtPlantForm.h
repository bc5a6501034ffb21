#pragma once

#include "core/Signal.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace setfolio {

class PlantForm;
class Prompts;

// The plant window: the inventory's processors and their libraries in a tree, the actions'
// buttons, the progress of the one running, its log, and the lists of differences and versions.
// It stays open beside the main window; a running action goes on while it is hidden.
class QtPlantForm : public QWidget {
public:
    QtPlantForm(PlantForm& form, Prompts& prompts, QWidget* parent = nullptr);
    // Stops a running action and waits for its workers, which wake this window.
    ~QtPlantForm() override;
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowRows();
    void SelectionChanged();
    void Run(const std::function<void()>& handler);

    PlantForm& m_form;
    Prompts& m_prompts;
    Subscription m_changed;
    Subscription m_logged;
    Subscription m_logCleared;
    QLabel* m_inventoryLabel;
    QLabel* m_folderLabel;
    QPushButton* m_openBtn;
    QPushButton* m_folderBtn;
    QTreeWidget* m_tree;
    QPushButton* m_backupBtn;
    QPushButton* m_verifyBtn;
    QPushButton* m_restoreBtn;
    QPushButton* m_historyBtn;
    QPushButton* m_stopBtn;
    QPushButton* m_closeBtn;
    QLabel* m_progressLabel;
    QProgressBar* m_progress;
    QPlainTextEdit* m_log;
    QLabel* m_differencesLabel;
    QListWidget* m_differences;
    QPushButton* m_showDifferenceBtn;
    QLabel* m_versionsLabel;
    QListWidget* m_versions;
    QPushButton* m_compareVersionsBtn;
    bool m_showing = false; // while the tree is filled: its selection is not the user's
};

} // namespace setfolio
