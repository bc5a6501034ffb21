#include "ui/QtPlantForm.h"

#include "core/Guarded.h"
#include "forms/PlantForm.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace setfolio {

namespace {

constexpr int ProcessorRole = Qt::UserRole;
constexpr int LibraryRole = Qt::UserRole + 1; // -1 on a processor's line

const QColor FailedTint(255, 221, 214);
const QColor ChangedTint(255, 243, 196);

QListWidget* List(QWidget* parent, const char* name, QAbstractItemView::SelectionMode mode) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(mode);
    return list;
}

} // namespace

QtPlantForm::QtPlantForm(PlantForm& form, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_form(form), m_prompts(prompts) {
    setObjectName("TPlantForm");
    resize(form.form.clientWidth, form.form.clientHeight);

    m_inventoryLabel = MakeLabel(this, "InventoryLabel", Qt::AlignLeft);
    m_folderLabel = MakeLabel(this, "FolderLabel", Qt::AlignLeft);
    m_openBtn = MakeButton(this, "OpenBtn");
    m_folderBtn = MakeButton(this, "FolderBtn");
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName("PlantTree");
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setUniformRowHeights(true);
    m_backupBtn = MakeButton(this, "BackupBtn");
    m_verifyBtn = MakeButton(this, "VerifyBtn");
    m_restoreBtn = MakeButton(this, "RestoreBtn");
    m_historyBtn = MakeButton(this, "HistoryBtn");
    m_stopBtn = MakeButton(this, "StopBtn");
    m_closeBtn = MakeButton(this, "CloseBtn");
    m_progressLabel = MakeLabel(this, "ProgressLabel", Qt::AlignLeft);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName("Progress");
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName("Log");
    m_log->setReadOnly(true);
    m_differencesLabel = MakeLabel(this, "DifferencesLabel", Qt::AlignLeft);
    m_differences = List(this, "Differences", QAbstractItemView::SingleSelection);
    m_differencesLabel->setBuddy(m_differences);
    m_showDifferenceBtn = MakeButton(this, "ShowDifferenceBtn");
    m_versionsLabel = MakeLabel(this, "VersionsLabel", Qt::AlignLeft);
    m_versions = List(this, "Versions", QAbstractItemView::MultiSelection);
    m_versionsLabel->setBuddy(m_versions);
    m_compareVersionsBtn = MakeButton(this, "CompareVersionsBtn");

    auto* where = new QGridLayout;
    where->addWidget(m_inventoryLabel, 0, 0);
    where->addWidget(m_openBtn, 0, 1);
    where->addWidget(m_folderLabel, 1, 0);
    where->addWidget(m_folderBtn, 1, 1);
    where->setColumnStretch(0, 1);
    auto* actions = new QHBoxLayout;
    for (QWidget* button : {m_backupBtn, m_verifyBtn, m_restoreBtn, m_historyBtn, m_stopBtn})
        actions->addWidget(button);
    actions->addStretch(1);
    actions->addWidget(m_closeBtn);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progressLabel, 1);
    progress->addWidget(m_progress, 1);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(m_differencesLabel);
    sideLayout->addWidget(m_differences, 1);
    sideLayout->addWidget(m_showDifferenceBtn, 0, Qt::AlignRight);
    sideLayout->addWidget(m_versionsLabel);
    sideLayout->addWidget(m_versions, 1);
    sideLayout->addWidget(m_compareVersionsBtn, 0, Qt::AlignRight);
    auto* bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(m_log);
    bottom->addWidget(side);
    bottom->setStretchFactor(0, 1);
    bottom->setStretchFactor(1, 1);
    auto* parts = new QSplitter(Qt::Vertical, this);
    parts->setObjectName("Parts");
    parts->addWidget(m_tree);
    parts->addWidget(bottom);
    parts->setStretchFactor(0, 3);
    parts->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(where);
    layout->addWidget(parts, 1);
    layout->addLayout(progress);
    layout->addLayout(actions);

    const auto on = [this](QPushButton* button, std::function<void()> handler) {
        connect(button, &QPushButton::clicked, this, [this, handler] { Run(handler); });
    };
    on(m_openBtn, [this] { m_form.OpenBtnClick(); });
    on(m_folderBtn, [this] { m_form.FolderBtnClick(); });
    on(m_backupBtn, [this] { m_form.BackupBtnClick(); });
    on(m_verifyBtn, [this] { m_form.VerifyBtnClick(); });
    on(m_restoreBtn, [this] { m_form.RestoreBtnClick(); });
    on(m_historyBtn, [this] { m_form.HistoryBtnClick(); });
    on(m_stopBtn, [this] { m_form.StopBtnClick(); });
    on(m_showDifferenceBtn, [this] { m_form.ShowDifferenceBtnClick(); });
    on(m_compareVersionsBtn, [this] {
        const auto chosen = m_versions->selectedItems();
        if (chosen.size() == 2)
            m_form.CompareVersions(m_versions->row(chosen[0]), m_versions->row(chosen[1]));
        else
            m_prompts.DefaultBeep();
    });
    connect(m_closeBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(m_differences, &QListWidget::currentRowChanged, this, [this](int row) {
        m_form.Differences.Mark(row);
        Refresh();
    });
    connect(m_differences, &QListWidget::itemActivated, this,
            [this] { Run([this] { m_form.ShowDifferenceBtnClick(); }); });
    connect(m_versions, &QListWidget::itemSelectionChanged, this,
            [this] { m_compareVersionsBtn->setEnabled(m_versions->selectedItems().size() == 2); });
    // The keys of the main window's kind: Ctrl and a letter for the actions, F5 reads the folder
    // again, Escape closes.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), [this] { m_form.OpenBtnClick(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_B), [this] { m_form.BackupBtnClick(); }},
        {QKeySequence(Qt::Key_F5), [this] { m_form.Reload(); }},
    };
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler] { Run(handler); });
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // Workers queue events from their threads; the window takes them on its own.
    m_form.SetWakeUp([this] {
        QMetaObject::invokeMethod(
            this, [this] { RunGuarded(m_prompts, [this] { m_form.TakeEvents(); }); },
            Qt::QueuedConnection);
    });
    for (const auto& line : m_form.Log.Lines())
        m_log->appendPlainText(FromUtf8(line));
    m_logged = m_form.Log.appended.Subscribe(
        [this](const std::string& line) { m_log->appendPlainText(FromUtf8(line)); });
    m_logCleared = m_form.Log.cleared.Subscribe([this] { m_log->clear(); });
    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
    m_tree->setFocus();
}

QtPlantForm::~QtPlantForm() {
    m_form.FormClose();
    m_form.SetWakeUp({});
}

void QtPlantForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Run([this] { m_form.FormShow(); });
}

void QtPlantForm::Run(const std::function<void()>& handler) {
    RunGuarded(m_prompts, handler);
    Refresh();
}

void QtPlantForm::SelectionChanged() {
    if (m_showing)
        return;
    std::vector<PlantForm::Selected> lines;
    for (const QTreeWidgetItem* item : m_tree->selectedItems()) {
        const auto processor = static_cast<std::size_t>(item->data(0, ProcessorRole).toInt());
        const int library = item->data(0, LibraryRole).toInt();
        lines.push_back({processor, library < 0 ? std::nullopt : std::optional<int>(library)});
    }
    m_form.Select(std::move(lines));
}

void QtPlantForm::ShowRows() {
    const auto& rows = m_form.Rows();
    bool same = m_tree->topLevelItemCount() == static_cast<int>(rows.size());
    for (int p = 0; same && p < m_tree->topLevelItemCount(); ++p)
        same = m_tree->topLevelItem(p)->childCount() ==
               static_cast<int>(rows[static_cast<std::size_t>(p)].libraries.size());
    m_showing = true;
    if (!same) {
        m_tree->clear();
        for (std::size_t p = 0; p < rows.size(); ++p) {
            auto* item = new QTreeWidgetItem(m_tree);
            item->setData(0, ProcessorRole, static_cast<int>(p));
            item->setData(0, LibraryRole, -1);
            for (const auto& library : rows[p].libraries) {
                auto* child = new QTreeWidgetItem(item);
                child->setData(0, ProcessorRole, static_cast<int>(p));
                child->setData(0, LibraryRole, library.library);
            }
        }
        m_tree->expandAll();
    }
    QStringList headers;
    for (const auto& column : m_form.columns)
        headers << FromUtf8(column);
    m_tree->setColumnCount(static_cast<int>(headers.size()));
    m_tree->setHeaderLabels(headers);
    for (std::size_t p = 0; p < rows.size(); ++p) {
        const auto& row = rows[p];
        QTreeWidgetItem* item = m_tree->topLevelItem(static_cast<int>(p));
        const QString texts[] = {FromUtf8(row.section),
                                 FromUtf8(row.model),
                                 FromUtf8(row.link),
                                 FromUtf8(row.running),
                                 FromUtf8(row.lastBackup),
                                 FromUtf8(row.outcome),
                                 QString()};
        for (int c = 0; c < 7; ++c) {
            item->setText(c, texts[c]);
            item->setBackground(c, row.failed ? QBrush(FailedTint) : QBrush());
        }
        item->setToolTip(5, texts[5]);
        for (std::size_t l = 0; l < row.libraries.size(); ++l) {
            const auto& library = row.libraries[l];
            QTreeWidgetItem* child = item->child(static_cast<int>(l));
            child->setText(0, FromUtf8(library.name));
            child->setText(5, FromUtf8(library.stateText));
            child->setText(6, FromUtf8(library.changed));
            const bool failed = library.state == PlantForm::LibraryState::Failed ||
                                library.state == PlantForm::LibraryState::NotRead;
            const bool changed = library.state == PlantForm::LibraryState::Changed;
            for (int c = 0; c < 7; ++c)
                child->setBackground(c, failed    ? QBrush(FailedTint)
                                        : changed ? QBrush(ChangedTint)
                                                  : QBrush());
        }
    }
    for (int column = 0; column < m_tree->columnCount(); ++column)
        m_tree->resizeColumnToContents(column);
    m_showing = false;
    if (!same)
        SelectionChanged();
}

void QtPlantForm::Refresh() {
    setWindowTitle(FromUtf8(m_form.form.caption));
    ShowLabel(m_inventoryLabel, m_form.InventoryLabel);
    ShowLabel(m_folderLabel, m_form.FolderLabel);
    const std::pair<QPushButton*, const setfolio::Button*> buttons[] = {
        {m_openBtn, &m_form.OpenBtn},
        {m_folderBtn, &m_form.FolderBtn},
        {m_backupBtn, &m_form.BackupBtn},
        {m_verifyBtn, &m_form.VerifyBtn},
        {m_restoreBtn, &m_form.RestoreBtn},
        {m_historyBtn, &m_form.HistoryBtn},
        {m_stopBtn, &m_form.StopBtn},
        {m_closeBtn, &m_form.CloseBtn},
        {m_showDifferenceBtn, &m_form.ShowDifferenceBtn},
        {m_compareVersionsBtn, &m_form.CompareVersionsBtn},
    };
    for (const auto& [widget, model] : buttons) {
        ShowButton(widget, *model);
        widget->setText(FromUtf8(model->caption));
    }
    m_progressLabel->setText(FromUtf8(m_form.ProgressLabel.caption));
    m_progress->setRange(m_form.Progress.minimum, std::max(m_form.Progress.maximum, 1));
    m_progress->setValue(m_form.Progress.value);
    m_progress->setVisible(m_form.Running());
    ShowLabel(m_differencesLabel, m_form.DifferencesLabel);
    ShowLabel(m_versionsLabel, m_form.VersionsLabel);
    const std::pair<QListWidget*, const Choice*> lists[] = {
        {m_differences, &m_form.Differences},
        {m_versions, &m_form.Versions},
    };
    for (const auto& [widget, model] : lists) {
        QStringList items;
        for (const auto& item : model->items)
            items << FromUtf8(item);
        QStringList shown;
        for (int i = 0; i < widget->count(); ++i)
            shown << widget->item(i)->text();
        if (shown != items) {
            const QSignalBlocker quiet(widget);
            widget->clear();
            widget->addItems(items);
        }
        widget->setVisible(model->visible);
    }
    if (m_form.Differences.marked != m_differences->currentRow()) {
        const QSignalBlocker quiet(m_differences);
        m_differences->setCurrentRow(m_form.Differences.marked);
    }
    m_differences->parentWidget()->setVisible(m_form.Differences.visible ||
                                              m_form.Versions.visible);
    ShowRows();
}

} // namespace setfolio
