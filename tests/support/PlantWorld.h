#pragma once

// A plant of simulated processors (setfolio-sim, one process each, over loopback TCP or a
// pseudo-terminal), its inventory and its backup folder, for the tests of backup and restore.
#include "CliProcess.h"
#include "SimProcess.h"
#include "TempFolder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace setfolio::testing {

// A simulated processor of the plant and its inventory section.
struct Station {
    std::string name;
    std::string model;
    int active;
    std::vector<int> libraries;
    std::unique_ptr<SimProcess> sim;

    std::string Section() const {
        std::string section = "[" + name + "]\nModel=" + model + "\nLibraries=";
        for (std::size_t i = 0; i < libraries.size(); ++i)
            section += (i ? "," : "") + std::to_string(libraries[i]);
        const QStringList link = sim->CliLink();
        if (link[0] == "--tcp")
            return section + "\nTcp=" + link[1].toStdString() + "\n";
        return section + "\nSerial=" + link[1].toStdString() + "\n";
    }
};

struct Plant {
    TempFolder folder;
    std::vector<Station> stations;

    void Add(std::string name, std::string model, int active, std::vector<int> libraries, bool tcp,
             QStringList extra = {}) {
        auto sim = std::make_unique<SimProcess>(
            QStringList{"--model", Q(model), "--active", QString::number(active), "--log",
                        Q(folder.File(name + ".log"))} +
            extra + SimProcess::LinkArgs(tcp, folder.File(name + ".tty")));
        stations.push_back(
            {std::move(name), std::move(model), active, std::move(libraries), std::move(sim)});
    }
    std::string Inventory() {
        std::string text;
        for (const auto& station : stations)
            text += station.Section() + "\n";
        folder.Write("plant.ini", text);
        return folder.File("plant.ini");
    }
    std::string Destination() const { return folder.File("backup"); }
    std::string File(const Station& station, int library) const {
        char name[32];
        std::snprintf(name, sizeof name, "/Library %03d.lvf", library);
        return Destination() + "/" + station.name + name;
    }
    // The commands a station's simulator has received, from byte `from` of its log up to byte
    // `to`, each with its CR (as the log writes it: "\\r"), however the bytes came in.
    std::vector<std::string> Received(const Station& station, std::size_t from = 0,
                                      std::size_t to = std::string::npos) const {
        const std::string log = folder.Read(station.name + ".log").substr(0, to);
        std::string bytes;
        for (std::size_t at = log.find(" received ", from); at != std::string::npos;
             at = log.find(" received ", at + 1)) {
            const std::size_t start = at + 10;
            bytes += log.substr(start, log.find('\n', start) - start);
        }
        std::vector<std::string> commands;
        for (std::size_t start = 0, end; (end = bytes.find("\\r", start)) != std::string::npos;
             start = end + 2)
            commands.push_back(bytes.substr(start, end + 2 - start));
        return commands;
    }
    std::size_t LogSize(const Station& station) const {
        return folder.Read(station.name + ".log").size();
    }
    int Commits() const { return Git({"rev-list", "--count", "HEAD"}).trimmed().toInt(); }
    // git in the destination, with neither the system's nor the user's configuration.
    QByteArray Git(const QStringList& arguments) const {
        QProcess git;
        git.setWorkingDirectory(Q(Destination()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GIT_CONFIG_NOSYSTEM", "1");
        environment.insert("GIT_CONFIG_GLOBAL", "/dev/null");
        git.setProcessEnvironment(environment);
        git.start("git", arguments);
        git.waitForFinished();
        EXPECT_EQ(git.exitCode(), 0) << arguments.join(' ').toStdString() << ": "
                                     << git.readAllStandardError().toStdString();
        return git.readAllStandardOutput();
    }
    // A repository in the destination, with a commit of a file of the user's.
    void Repository() const {
        std::filesystem::create_directories(Destination());
        Git({"init", "--quiet", "--initial-branch=main"});
        Git({"config", "user.name", "Tester"});
        Git({"config", "user.email", "tester@localhost"});
        folder.Write("backup/notes.txt", "notes\n");
        Git({"add", "notes.txt"});
        Git({"commit", "--quiet", "-m", "notes"});
    }
    QJsonObject LastRun() const {
        return QJsonDocument::fromJson(
                   QByteArray::fromStdString(folder.Read("backup/.setfolio/last-run.json")))
            .object();
    }
};

// Neither the system's nor the user's git configuration takes part in a test.
inline void LeaveOutGitConfiguration() {
    qputenv("GIT_CONFIG_NOSYSTEM", "1");
    qputenv("GIT_CONFIG_GLOBAL", "/dev/null");
}

} // namespace setfolio::testing
