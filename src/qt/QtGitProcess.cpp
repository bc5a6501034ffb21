#include "qt/QtGitProcess.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace setfolio {

GitOutcome RunGitProcess(const std::string& folder, const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
    QProcess git;
    git.setWorkingDirectory(QFile::decodeName(QByteArray::fromStdString(folder)));
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        variables.insert(QString::fromStdString(name), QString::fromStdString(value));
    git.setProcessEnvironment(variables);
    git.setStandardInputFile(QProcess::nullDevice());
    QStringList words;
    for (const auto& argument : arguments)
        words << QString::fromUtf8(argument);
    git.start("git", words);
    GitOutcome outcome;
    if (!git.waitForFinished(10 * 60 * 1000)) {
        git.kill();
        git.waitForFinished();
        return outcome;
    }
    outcome.out = git.readAllStandardOutput().toStdString();
    outcome.err = git.readAllStandardError().toStdString();
    outcome.exitCode = git.exitStatus() == QProcess::NormalExit ? git.exitCode() : -1;
    return outcome;
}

} // namespace setfolio
