#pragma once

#include "Streams.h"

#include "backup/Inventory.h"
#include "backup/PlantBackup.h"

#include <QCommandLineParser>

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace setfolio::cli {

// What the commands that run a whole plant (backup, restore) share.

// --jobs N: how many processors run at the same time (16 when not given).
int ReadJobsOption(const QCommandLineParser& parser);
// --trace DIR, the folder made; empty when not given.
std::string ReadTraceOption(const QCommandLineParser& parser);
// The inventory in `file`; nothing when it has problems, which are printed by line and section.
std::optional<Inventory> ReadInventoryFile(const std::string& file, const Streams& io);

// Prints what the plant runner's workers report, from the one thread that takes their events:
// the live lines of a terminal (one per running processor) are cleared before any other line is
// printed and drawn again after it.
class PlantPrinter {
public:
    // The line a finished library is told in; an empty line tells nothing.
    using LibraryLine = std::function<std::string(const std::string& name,
                                                  const LibraryBackup& library, bool terminal)>;
    PlantPrinter(const Streams& io, LibraryLine libraryLine);

    void Show(const PlantEvent& event);
    // Before the summary: the live lines go.
    void Clear();
    // Starts `run` and shows each of its events until it has finished; the live lines are gone
    // then.
    void ShowRun(PlantBackup& run);

private:
    void Print(const std::string& line);
    void Draw();

    const Streams& m_io;
    bool m_terminal;
    LibraryLine m_libraryLine;
    std::map<std::size_t, std::string> m_running; // by place in the inventory
    std::size_t m_drawn = 0;
};

} // namespace setfolio::cli
