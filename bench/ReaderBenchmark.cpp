// Readers of large files: `setfolio-cli show` of library files of 10,000 and 100,000 keys (in one
// dump section, and as many sections of one key each), the upload of a 32,000-line bench dump,
// and the reading of a plant inventory of 64,000 sections. A reader should cost the same per
// line however long the file: the time of the large file against the small one's is the figure
// to watch (ten times the lines, ideally ten times the time). Processor time says more than wall
// time on a machine that does other work; the ratio is of processor times.
//
//   build/dev/bench/setfolio-bench-readers [runs]      (3 runs; the median is printed)
//
// `show` runs as the program (start-up included), its output thrown away. The upload runs
// in-process against a simulated B-01 on the fake platform, whose clock is virtual: the pauses
// the protocol prescribes cost nothing, so the time is the program's own work. The inventory is
// parsed in-process.
#include "SimWorld.h"
#include "backup/Inventory.h"
#include "core/AtomicFile.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace setfolio;
using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall and processor time, in seconds.
struct Times {
    double wall = 0;
    double cpu = 0;
};

// The processor time of this process and its waited-for children.
double CpuSeconds() {
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
           seconds(children.ru_stime);
}

// The medians of `runs` calls of `work`; nothing when one failed.
std::optional<Times> Timed(int runs, const std::function<bool()>& work) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const double cpuStart = CpuSeconds();
        if (!work())
            return std::nullopt;
        cpu.push_back(CpuSeconds() - cpuStart);
        wall.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    return Times{Median(wall), Median(cpu)};
}

// A bench library whose "User" dump has `lines` lines, as a download writes it.
std::string BenchLibrary(int lines) {
    std::vector<std::string> user{"#USER 0 LIBRARY 8"};
    for (int k = 2; k <= lines; ++k)
        user.push_back("USER.P" + std::to_string(k) + ":" + std::to_string(k * 7919 % 100000));
    std::size_t bytes = 0;
    for (const auto& line : user)
        bytes += line.size() + 2;
    user[0] = "#USER " + std::to_string(bytes + std::to_string(bytes).size() - 1) + " LIBRARY 8";
    std::string text =
        "[SystemSettings]\r\nModelNo=5\r\n[User]\r\nLines=" + std::to_string(lines) + "\r\n";
    for (int k = 1; k <= lines; ++k)
        text += std::to_string(k) + "=" + user[static_cast<std::size_t>(k - 1)] + "\r\n";
    return text;
}

// A coded library of `keys` sections of one key each.
std::string ManySections(int keys) {
    std::string text = "[SystemSettings]\r\nModelNo=0\r\n";
    for (int k = 1; k < keys; ++k)
        text += "[Extra" + std::to_string(k) + "]\r\nKey=" + std::to_string(k) + "\r\n";
    return text;
}

bool Show(const std::string& path) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(SETFOLIO_CLI_PATH, {"show", QString::fromStdString(path)});
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

std::string InventoryText(int sections) {
    std::string text;
    for (int k = 0; k < sections; ++k)
        text += "[Line " + std::to_string(k) + "]\nModel=C-12\nTcp=10.0." +
                std::to_string(k / 250 % 250) + "." + std::to_string(k % 250 + 1) +
                "\nLibraries=1-5\n";
    return text;
}

void Row(const char* what, const char* size, std::optional<Times> times,
         std::optional<Times> small = std::nullopt) {
    if (!times) {
        std::printf("| %s | %s | failed | | |\n", what, size);
        return;
    }
    std::printf("| %s | %s | %.3f s | %.3f s |", what, size, times->wall, times->cpu);
    if (small)
        std::printf(" %.1f |\n", times->cpu / small->cpu);
    else
        std::printf(" |\n");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir folder;
    const auto file = [&folder](const std::string& name, const std::string& content) {
        const std::string path = folder.path().toStdString() + "/" + name;
        WriteFileAtomically(path, content);
        return path;
    };
    std::printf("| reader | size | wall (median of %d) | processor time | against the small one |\n"
                "|---|---|---|---|---|\n",
                runs);

    const std::string dump10k = file("dump10k.lvf", BenchLibrary(10000));
    const std::string dump100k = file("dump100k.lvf", BenchLibrary(100000));
    const auto dumpSmall = Timed(runs, [&] { return Show(dump10k); });
    Row("show, keys of one section", "10,000 keys", dumpSmall);
    Row("show, keys of one section", "100,000 keys", Timed(runs, [&] { return Show(dump100k); }),
        dumpSmall);

    const std::string sections10k = file("sections10k.lvf", ManySections(10000));
    const std::string sections100k = file("sections100k.lvf", ManySections(100000));
    const auto sectionsSmall = Timed(runs, [&] { return Show(sections10k); });
    Row("show, one key a section", "10,000 keys", sectionsSmall);
    Row("show, one key a section", "100,000 keys", Timed(runs, [&] { return Show(sections100k); }),
        sectionsSmall);

    const auto upload = [&](int lines) {
        return Timed(runs, [&] {
            testing::SimWorld world(5);
            world.folder.Write("Dump.lvf", BenchLibrary(lines));
            world.Upload(world.Path("Dump.lvf"), 9);
            const auto stored = world.processor->libraries.find(9);
            return stored != world.processor->libraries.end() &&
                   stored->second.user.size() == static_cast<std::size_t>(lines);
        });
    };
    const auto uploadSmall = upload(3200);
    Row("bench upload (fake line, virtual time)", "3,200 lines", uploadSmall);
    Row("bench upload (fake line, virtual time)", "32,000 lines", upload(32000), uploadSmall);

    const auto inventory = [&](int sections) {
        const std::string content = InventoryText(sections);
        return Timed(runs, [&] {
            const setfolio::Inventory read = ParseInventory(content);
            return read.problems.empty() &&
                   read.processors.size() == static_cast<std::size_t>(sections);
        });
    };
    const auto inventorySmall = inventory(6400);
    Row("inventory", "6,400 sections", inventorySmall);
    Row("inventory", "64,000 sections", inventory(64000), inventorySmall);
    return 0;
}
