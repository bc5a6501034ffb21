// The layers of src/ as the README's layout table lists them, checked against every #include.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path SourceRoot = SETFOLIO_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The src/ folders of the README's "## Layout" section, bottom first.
std::vector<std::string> LayerOrder() {
    const std::string readme = ReadFile(SourceRoot / "README.md");
    const auto section = readme.find("\n## Layout");
    const auto end = readme.find("\n## ", section + 1);
    std::istringstream lines(readme.substr(section, end - section));
    const std::regex row(R"(^\| `src/([a-z0-9]+)/` \|)");
    std::vector<std::string> order;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row))
            order.push_back(match[1]);
    }
    return order;
}

struct Include {
    std::string from; // unit: folder/stem
    std::string to;
    std::string folderFrom;
    std::string folderTo;
};

std::string FolderOf(const std::string& relative) {
    return relative.substr(0, relative.find('/'));
}

std::string UnitOf(const std::string& relative) {
    return relative.substr(0, relative.rfind('.'));
}

std::vector<Include> ProjectIncludes() {
    const std::regex directive(R"re(^\s*#\s*include\s+"([^"]+)")re");
    std::vector<Include> includes;
    for (const auto& entry : fs::recursive_directory_iterator(SourceRoot / "src")) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const std::string relative =
            fs::relative(entry.path(), SourceRoot / "src").generic_string();
        std::istringstream lines(ReadFile(entry.path()));
        for (std::string line; std::getline(lines, line);) {
            std::smatch match;
            if (!std::regex_search(line, match, directive))
                continue;
            const std::string target = match[1];
            includes.push_back(
                {UnitOf(relative), UnitOf(target), FolderOf(relative), FolderOf(target)});
        }
    }
    return includes;
}

TEST(Layout, EveryFolderIncludesOnlyItselfAndTheLayersBelow) {
    const auto order = LayerOrder();
    ASSERT_GE(order.size(), 8u) << "the README's layout table was not found";
    std::map<std::string, std::size_t> rank;
    for (std::size_t i = 0; i < order.size(); ++i)
        rank[order[i]] = i;
    for (const auto& entry : fs::directory_iterator(SourceRoot / "src")) {
        const std::string folder = entry.path().filename().string();
        if (entry.is_directory()) {
            EXPECT_TRUE(rank.contains(folder)) << "src/" << folder << " is not in the layout";
        }
    }
    for (const auto& include : ProjectIncludes()) {
        ASSERT_TRUE(rank.contains(include.folderTo))
            << include.from << " includes " << include.to << ", outside the layout";
        EXPECT_LE(rank[include.folderTo], rank[include.folderFrom])
            << include.from << " includes " << include.to << ", a layer above its own";
    }
}

TEST(Layout, NoFilesIncludeEachOtherInACircle) {
    // A header and its source count as one unit.
    std::map<std::string, std::set<std::string>> edges;
    for (const auto& include : ProjectIncludes()) {
        if (include.from != include.to)
            edges[include.from].insert(include.to);
    }
    enum class Mark { Unseen, OnPath, Done };
    std::map<std::string, Mark> marks;
    std::vector<std::string> path;
    std::string circle;
    std::function<void(const std::string&)> visit = [&](const std::string& unit) {
        marks[unit] = Mark::OnPath;
        path.push_back(unit);
        for (const auto& next : edges[unit]) {
            if (!circle.empty())
                break;
            if (marks[next] == Mark::OnPath) {
                for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it)
                    circle += *it + " -> ";
                circle += next;
            } else if (marks[next] == Mark::Unseen) {
                visit(next);
            }
        }
        path.pop_back();
        marks[unit] = Mark::Done;
    };
    for (const auto& [unit, targets] : edges) {
        if (marks[unit] == Mark::Unseen && circle.empty())
            visit(unit);
    }
    EXPECT_EQ(circle, "") << "files include each other in a circle";
}

// A transport or an exchange built outside the processor session would be a second way of
// reaching a processor: its own model, its own link settings, its own fixes.
TEST(Layout, OnlyTheProcessorSessionBuildsATransportOrAnExchange) {
    const std::set<std::string> owners = {"link/Transport", "link/Exchange",
                                          "transfer/ProcessorSession"};
    // A value of either type (a variable, a member, a temporary, one made on the heap); references
    // and pointers, qualified names (Transport::Transport) and longer names are not matched.
    const std::regex construction(
        R"re((^|[^\w:&*])(Transport|Exchange)(\s+[A-Za-z_]\w*\s*[;({=]|\s*[({]))re"
        R"re(|(make_unique|make_shared)<\s*(Transport|Exchange)\s*>|\bnew\s+(Transport|Exchange)\b)re");
    std::vector<std::string> found;
    for (const char* top : {"src", "tools"}) {
        for (const auto& entry : fs::recursive_directory_iterator(SourceRoot / top)) {
            const auto extension = entry.path().extension();
            if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
                continue;
            const std::string relative =
                fs::relative(entry.path(), SourceRoot / "src").generic_string();
            if (top == std::string("src") && owners.contains(UnitOf(relative)))
                continue;
            std::istringstream lines(ReadFile(entry.path()));
            int number = 0;
            for (std::string line; std::getline(lines, line);) {
                ++number;
                const std::string code = line.substr(0, line.find("//"));
                if (std::regex_search(code, construction))
                    found.push_back(fs::relative(entry.path(), SourceRoot).generic_string() + ":" +
                                    std::to_string(number) + ": " + line);
            }
        }
    }
    EXPECT_TRUE(found.empty()) << [&] {
        std::string text = "built outside transfer/ProcessorSession:\n";
        for (const auto& line : found)
            text += line + "\n";
        return text;
    }();
}

} // namespace
