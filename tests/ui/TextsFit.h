#pragma once

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setfolio::testing {

inline std::string Named(const QWidget* widget, const QString& text) {
    return widget->objectName().toStdString() + ": " + text.toStdString();
}

// Every text a window shows fits its control, so that no language and no system font has a
// caption cut off: each line of a label within the label, each button, list and number box at
// least its preferred size, each group's title within its frame.
inline void ExpectTextsFit(const QWidget& window) {
    for (const auto* label : window.findChildren<QLabel*>()) {
        // The status bar lays its texts out at whatever width they need.
        if (!label->isVisibleTo(&window) || qobject_cast<QStatusBar*>(label->parentWidget()))
            continue;
        const QRect room = label->contentsRect();
        const QStringList lines = label->text().split('\n');
        for (const QString& line : lines)
            EXPECT_LE(label->fontMetrics().horizontalAdvance(line), room.width())
                << Named(label, line);
        EXPECT_LE(label->fontMetrics().height() * lines.size(), room.height() + 1)
            << Named(label, label->text());
    }
    for (const auto* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window) || button->objectName().isEmpty())
            continue; // a widget's own parts, such as a line edit's clear button
        EXPECT_LE(button->sizeHint().width(), button->width()) << Named(button, button->text());
        EXPECT_LE(button->sizeHint().height(), button->height()) << Named(button, button->text());
    }
    for (const auto* group : window.findChildren<QGroupBox*>()) {
        if (!group->isVisibleTo(&window))
            continue;
        EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()) + 20, group->width())
            << Named(group, group->title());
    }
    for (const auto* box : window.findChildren<QComboBox*>()) {
        if (!box->isVisibleTo(&window))
            continue;
        EXPECT_LE(box->sizeHint().width(), box->width()) << Named(box, box->currentText());
        EXPECT_LE(box->sizeHint().height(), box->height()) << Named(box, box->currentText());
    }
    for (const auto* spin : window.findChildren<QAbstractSpinBox*>()) {
        if (!spin->isVisibleTo(&window))
            continue;
        EXPECT_LE(spin->sizeHint().width(), spin->width()) << Named(spin, spin->text());
    }
}

// No two controls of the same parent cover each other, and all lie inside their parent; the
// parents are the window and every widget in it that lays out controls of its own.
inline void ExpectNoOverlaps(QWidget& window) {
    std::vector<QWidget*> parents{&window};
    for (auto* widget : window.findChildren<QWidget*>())
        if (widget->layout() && widget->isVisibleTo(&window))
            parents.push_back(widget);
    for (QWidget* parent : parents) {
        std::vector<QWidget*> children;
        for (auto* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            // Unnamed widgets are a widget's own parts, such as a list's scroll bars.
            if (!child->objectName().isEmpty() && child->isVisibleTo(&window) && !child->isWindow())
                children.push_back(child);
        }
        for (std::size_t i = 0; i < children.size(); ++i) {
            EXPECT_TRUE(parent->rect().contains(children[i]->geometry()))
                << children[i]->objectName().toStdString();
            for (std::size_t j = i + 1; j < children.size(); ++j)
                EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                    << children[i]->objectName().toStdString() << " and "
                    << children[j]->objectName().toStdString();
        }
    }
}

} // namespace setfolio::testing
