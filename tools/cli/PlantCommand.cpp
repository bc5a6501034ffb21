#include "PlantCommand.h"

#include "CliOptions.h"
#include "Command.h"

#include "core/AtomicFile.h"

#include <QDir>

#include <ostream>

namespace setfolio::cli {

int ReadJobsOption(const QCommandLineParser& parser) {
    if (!parser.isSet("jobs"))
        return 16;
    bool ok = false;
    const int jobs = parser.value("jobs").toInt(&ok);
    if (!ok || jobs < 1 || jobs > 256)
        throw UsageError("--jobs must be 1 to 256");
    return jobs;
}

std::string ReadTraceOption(const QCommandLineParser& parser) {
    const std::string folder = Bytes(parser.value("trace"));
    if (!folder.empty() && !QDir().mkpath(QString::fromStdString(folder)))
        throw UsageError("cannot make " + folder, false);
    return folder;
}

std::optional<Inventory> ReadInventoryFile(const std::string& file, const Streams& io) {
    const auto content = ReadWholeFile(file);
    if (!content)
        throw UsageError("cannot read " + file, false);
    Inventory inventory = ParseInventory(*content);
    if (inventory.problems.empty())
        return inventory;
    for (const auto& problem : inventory.problems)
        io.err << file << ":" << problem.line << ": "
               << (problem.section.empty() ? "" : "[" + problem.section + "] ") << problem.text
               << "\n";
    return std::nullopt;
}

namespace {

std::string Progress(const std::string& name, std::size_t index, std::size_t count) {
    return name + ": library " + std::to_string(index + 1) + " of " + std::to_string(count);
}

} // namespace

PlantPrinter::PlantPrinter(const Streams& io, LibraryLine libraryLine)
    : m_io(io), m_terminal(io.errIsTerminal), m_libraryLine(std::move(libraryLine)) {}

void PlantPrinter::Show(const PlantEvent& event) {
    using Kind = PlantEvent::Kind;
    switch (event.kind) {
    case Kind::ProcessorStarted:
        m_running[event.processor] = Progress(event.name, 0, event.libraryCount);
        break;
    case Kind::LibraryFinished:
        if (const std::string line = m_libraryLine(event.name, event.library, m_terminal);
            !line.empty())
            Print(line);
        if (event.libraryIndex + 1 < event.libraryCount)
            m_running[event.processor] =
                Progress(event.name, event.libraryIndex + 1, event.libraryCount);
        break;
    case Kind::ProcessorFinished:
        m_running.erase(event.processor);
        break;
    case Kind::ProcessorFailed:
        m_running.erase(event.processor);
        if (!event.failure.empty())
            Print(event.name + ": " + event.failure);
        if (!event.notPutBack.empty())
            Print(event.name + " " + event.notPutBack);
        break;
    case Kind::RunFinished:
        m_running.clear();
        break;
    }
    if (m_terminal)
        Draw();
}

void PlantPrinter::ShowRun(PlantBackup& run) {
    run.Start();
    for (;;) {
        const PlantEvent event = run.NextEvent();
        Show(event);
        if (event.kind == PlantEvent::Kind::RunFinished)
            break;
    }
    Clear();
}

void PlantPrinter::Clear() {
    for (std::size_t i = 0; i < m_drawn; ++i)
        m_io.err << "\x1b[1A\x1b[2K";
    m_drawn = 0;
    m_io.err << std::flush;
}

void PlantPrinter::Print(const std::string& line) {
    if (!m_terminal) {
        m_io.out << line << std::endl;
        return;
    }
    Clear();
    m_io.err << "\x1b[2K" << line << "\n";
}

void PlantPrinter::Draw() {
    Clear();
    for (const auto& [index, line] : m_running)
        m_io.err << "\x1b[2K" << line.substr(0, 100) << "\n";
    m_drawn = m_running.size();
    m_io.err << std::flush;
}

} // namespace setfolio::cli
