#include "ui/QtLibraryViewForm.h"

#include "core/Guarded.h"
#include "forms/LibraryViewForm.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace setfolio {

namespace {

const QColor ProblemTint(255, 221, 214);
const QColor DifferenceTint(255, 243, 196);

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

// A stored text and its meaning, each as the bytes of the file; a meaning in quotes shows its
// blanks.
QString Meaning(const std::optional<DecodedParameter>& parameter) {
    if (!parameter || !parameter->text)
        return {};
    return "\"" + FromBytes(*parameter->text) + "\"";
}

QString Stored(const std::optional<DecodedParameter>& parameter) {
    return parameter ? FromBytes(parameter->stored) : QString();
}

} // namespace

QtLibraryViewForm::QtLibraryViewForm(LibraryViewForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_form(form), m_prompts(prompts) {
    setObjectName("TLibraryViewForm");
    resize(form.form.clientWidth, form.form.clientHeight);

    m_openBtn = new QPushButton(this);
    m_openBtn->setObjectName("OpenBtn");
    m_compareBtn = new QPushButton(this);
    m_compareBtn->setObjectName("CompareBtn");
    m_filterLabel = new QLabel(this);
    m_filterLabel->setObjectName("FilterLabel");
    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName("FilterEdit");
    m_filterEdit->setClearButtonEnabled(true);
    m_filterLabel->setBuddy(m_filterEdit);
    m_onlyDifferencesCB = new QCheckBox(this);
    m_onlyDifferencesCB->setObjectName("OnlyDifferencesCB");
    m_fileA = new QLabel(this);
    m_fileA->setObjectName("FileA");
    m_fileA->setTextFormat(Qt::PlainText);
    m_fileB = new QLabel(this);
    m_fileB->setObjectName("FileB");
    m_fileB->setTextFormat(Qt::PlainText);
    m_table = new QTableWidget(this);
    m_table->setObjectName("ParameterTable");
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_problems = new QPlainTextEdit(this);
    m_problems->setObjectName("Problems");
    m_problems->setReadOnly(true);
    m_problems->setMaximumHeight(90);

    auto* tools = new QHBoxLayout;
    tools->addWidget(m_openBtn);
    tools->addWidget(m_compareBtn);
    tools->addSpacing(16);
    tools->addWidget(m_filterLabel);
    tools->addWidget(m_filterEdit, 1);
    tools->addWidget(m_onlyDifferencesCB);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_fileA);
    layout->addWidget(m_fileB);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_problems);

    connect(m_openBtn, &QPushButton::clicked, this,
            [this] { RunGuarded(m_prompts, [this] { m_form.OpenBtnClick(); }); });
    connect(m_compareBtn, &QPushButton::clicked, this,
            [this] { RunGuarded(m_prompts, [this] { m_form.CompareBtnClick(); }); });
    connect(m_filterEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        RunGuarded(m_prompts, [&] { m_form.FilterEditChange(ToBytes(text)); });
    });
    connect(m_onlyDifferencesCB, &QCheckBox::clicked, this, [this](bool checked) {
        m_form.OnlyDifferencesCB.checked = checked;
        RunGuarded(m_prompts, [this] { m_form.OnlyDifferencesCBClick(); });
    });
    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

void QtLibraryViewForm::Refresh() {
    setWindowTitle(FromUtf8(m_form.form.caption));
    m_openBtn->setText(FromUtf8(m_form.OpenBtn.caption));
    ShowButton(m_compareBtn, m_form.CompareBtn);
    m_compareBtn->setText(FromUtf8(m_form.CompareBtn.caption));
    m_filterLabel->setText(FromUtf8(m_form.FilterLabel.caption));
    if (ToBytes(m_filterEdit->text()) != m_form.FilterEdit.text)
        m_filterEdit->setText(FromBytes(m_form.FilterEdit.text));
    m_onlyDifferencesCB->setText(FromUtf8(m_form.OnlyDifferencesCB.caption));
    m_onlyDifferencesCB->setChecked(m_form.OnlyDifferencesCB.checked);
    m_onlyDifferencesCB->setEnabled(m_form.OnlyDifferencesCB.enabled);
    m_fileA->setText(FromUtf8(m_form.FileA.caption));
    m_fileB->setText(FromUtf8(m_form.FileB.caption));
    m_fileB->setVisible(m_form.FileB.visible && !m_form.FileB.caption.empty());

    QStringList headers;
    for (const auto& column : m_form.columns)
        headers << FromUtf8(column);
    const auto rows = m_form.Rows();
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        QList<QTableWidgetItem*> cells{Cell(FromBytes(row.section)), Cell(FromBytes(row.name)),
                                       Cell(Stored(row.a)), Cell(Meaning(row.a))};
        if (m_form.Comparing())
            cells << Cell(Stored(row.b)) << Cell(Meaning(row.b));
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            QTableWidgetItem* cell = cells[c];
            if (!row.problem.empty()) {
                cell->setBackground(ProblemTint);
                cell->setToolTip(FromUtf8(row.problem));
            } else if (row.differs) {
                cell->setBackground(DifferenceTint);
            } else if (!row.sameText.empty()) {
                cell->setToolTip(FromUtf8(row.sameText));
            }
            m_table->setItem(r, c, cell);
        }
    }
    // Every column as wide as its texts but the last, which takes the rest of the window (a
    // last column sized to its texts would no longer stretch with the window).
    for (int column = 0; column + 1 < m_table->columnCount(); ++column)
        m_table->resizeColumnToContents(column);

    QString problems;
    for (const auto& problem : m_form.Problems())
        problems += FromUtf8(problem) + "\n";
    m_problems->setPlainText(problems);
    m_problems->setVisible(!problems.isEmpty());
}

} // namespace setfolio
