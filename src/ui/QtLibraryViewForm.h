#pragma once

#include "core/Signal.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace setfolio {

class LibraryViewForm;
class Prompts;

// The library viewer: a table of the decoded file (or of two files side by side) with a filter;
// rows with a problem are tinted and carry the problem as their hint, differing rows are marked.
class QtLibraryViewForm : public QDialog {
public:
    QtLibraryViewForm(LibraryViewForm& form, Prompts& prompts, QWidget* parent = nullptr);
    void Refresh();

private:
    LibraryViewForm& m_form;
    Prompts& m_prompts;
    Subscription m_changed; // shows the model again whenever it signals a change
    QPushButton* m_openBtn;
    QPushButton* m_compareBtn;
    QLabel* m_filterLabel;
    QLineEdit* m_filterEdit;
    QCheckBox* m_onlyDifferencesCB;
    QLabel* m_fileA;
    QLabel* m_fileB;
    QTableWidget* m_table;
    QPlainTextEdit* m_problems;
};

} // namespace setfolio
