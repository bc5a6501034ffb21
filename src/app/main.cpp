#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMessageBox>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Setfolio");

    const setfolio::Settings settings(QCoreApplication::applicationDirPath().toStdString());
    setfolio::CurrentModel currentModel(settings);
    currentModel.LoadCurrentModel();

    QMainWindow window;
    window.setWindowTitle("Setfolio");
    auto* models = new QComboBox(&window);
    for (const auto line : setfolio::ListLines())
        models->addItem(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    models->setCurrentIndex(currentModel.ListLine());
    QObject::connect(models, &QComboBox::activated, [&](int line) {
        try {
            currentModel.SelectModel(line);
        } catch (const setfolio::WriteError& error) {
            QMessageBox::critical(&window, "Setfolio", QString::fromStdString(error.what()));
            models->setCurrentIndex(currentModel.ListLine());
        }
    });
    window.setCentralWidget(models);
    window.resize(552, 374);
    window.show();
    return QApplication::exec();
}
