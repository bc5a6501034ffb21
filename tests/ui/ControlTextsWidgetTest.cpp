#include "AppWorld.h"
#include "ui/QtChangeLibForm.h"
#include "ui/QtLanguageForm.h"
#include "ui/QtMainForm.h"
#include "ui/QtSerialForm.h"
#include "ui/QtTransferForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

std::string Describe(const TextEntry& entry) {
    return std::string(entry.target) + " property " +
           std::to_string(static_cast<int>(entry.property));
}

// Every window of the program, built over the fake platform as the program builds them.
struct Windows : AppWorld {
    QtMainForm main{app.mainForm, prompts};
    QtTransferForm download{app.downLoadForm, prompts};
    QtTransferForm upload{app.upLoadForm, prompts, &app.upLoadForm};
    QtChangeLibForm changeLibrary{app.changeLibForm, prompts};
    QtSerialForm communications{app.serialForm, prompts};
    QtLanguageForm language{app.languageForm, prompts};

    QWidget& Of(TextWindow window) {
        switch (window) {
        case TextWindow::MainForm:
            return main;
        case TextWindow::DownLoadForm:
            return download;
        case TextWindow::UpLoadForm:
            return upload;
        case TextWindow::ChangeLibForm:
            return changeLibrary;
        case TextWindow::SerialForm:
            return communications;
        case TextWindow::LanguageForm:
            return language;
        case TextWindow::Messages:
            break;
        }
        throw std::logic_error("messages are no window");
    }

    // The user picks a language in the dialog and clicks OK; the windows then show the model
    // again, as the program does after the dialog.
    void Choose(Language chosen) {
        app.languageForm.NameLanguageList();
        language.Refresh();
        emit language.findChild<QComboBox*>("LanguageComboBox")
            ->activated(static_cast<int>(chosen));
        language.findChild<QPushButton*>("OKBtn")->click();
        main.Refresh();
        download.Refresh();
        upload.Refresh();
        changeLibrary.Refresh();
        communications.Refresh();
    }

    // What a window shows for a catalogue entry; a file dialog's title is what the file button
    // asks the file selection with.
    QString Shown(const TextEntry& entry) {
        QWidget& window = Of(entry.window);
        const QString name =
            QString::fromUtf8(entry.target.data(), static_cast<qsizetype>(entry.target.size()));
        if (entry.property == TextProperty::WindowCaption)
            return window.windowTitle();
        if (entry.property == TextProperty::DialogTitle) {
            window.findChild<QToolButton*>("FileBtn")->click();
            const std::string asked = dialogs.shown.back();
            const auto start = asked.find(": ") + 2;
            return QString::fromStdString(asked.substr(start, asked.find(" | ") - start));
        }
        QObject* object = window.findChild<QObject*>(name);
        if (!object)
            return "<no widget " + name + ">";
        if (entry.property == TextProperty::Hint) {
            auto* widget = qobject_cast<QWidget*>(object);
            return widget ? widget->toolTip() : "<no hint>";
        }
        if (entry.property == TextProperty::Caption) {
            if (auto* menu = qobject_cast<QMenu*>(object)) // less the mark Alt opens it with
                return menu->title().startsWith('&') ? menu->title().mid(1) : menu->title();
            if (auto* action = qobject_cast<QAction*>(object))
                return action->text();
            if (auto* label = qobject_cast<QLabel*>(object))
                return label->text();
            if (auto* button = qobject_cast<QAbstractButton*>(object))
                return button->text();
            return "<no caption>";
        }
        const int line =
            static_cast<int>(entry.property) - static_cast<int>(TextProperty::ListLine0);
        auto* list = qobject_cast<QComboBox*>(object);
        return list && line >= 0 && line < list->count() ? list->itemText(line) : "<no line>";
    }
};

TEST(ControlTextsOnScreen, EveryEntryReachesItsWidgetInEveryLanguage) {
    Windows world;
    for (const Language language :
         {Language::German, Language::English, Language::French, Language::German}) {
        SCOPED_TRACE(static_cast<int>(language));
        world.Choose(language);
        for (const auto& entry : TextCatalogue()) {
            if (entry.window == TextWindow::Messages)
                continue;
            const auto& text = entry.texts[static_cast<std::size_t>(language)];
            EXPECT_EQ(world.Shown(entry).toStdString(), text) << Describe(entry);
        }
    }
}

TEST(ControlTextsOnScreen, DesignedMenuMarksUntilTheFirstLanguage) {
    Windows world;
    const auto menu = [&world](const char* name) {
        return world.main.findChild<QAction*>(name)->text();
    };
    EXPECT_EQ(world.main.findChild<QMenu*>("MenuMain")->title(), "&Menu");
    EXPECT_EQ(menu("MenuExit"), "E&xit");
    EXPECT_EQ(world.upload.windowTitle(), "Upload From File");

    world.Choose(Language::English);
    EXPECT_EQ(world.main.findChild<QMenu*>("MenuMain")->title(), "&Menu") << "still Alt+M";
    EXPECT_EQ(menu("MenuExit"), "Exit");
    EXPECT_EQ(menu("MenuLanguage"), "Language");
}

TEST(ControlTextsOnScreen, FrenchKeepsTheMarkedParityOnScreen) {
    Windows world;
    world.app.settings.Write(keys::Parity, 2);
    world.app.serialForm.LoadCommSettings();
    world.communications.Refresh();
    world.Choose(Language::French);
    auto* parity = world.communications.findChild<QComboBox*>("ParityComboBox");
    EXPECT_EQ(parity->currentText(), "pair");
    EXPECT_EQ(world.language.findChild<QPushButton*>("CancelBtn")->text(), "Annuler");
    EXPECT_EQ(world.upload.findChild<QSpinBox*>("LibrarySpinEdit")->toolTip(),
              QString::fromUtf8("S\u00e9lectionner la premi\u00e8re librairie #"));
}

} // namespace
