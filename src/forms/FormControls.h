#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setfolio {

// The state of a window's controls as plain data. The logic of a window reads and changes these;
// the window shows them and reports the user's changes back into them.

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};
inline constexpr Colour Black{0, 0, 0};
inline constexpr Colour Grey{128, 128, 128};

struct Control {
    std::string caption;
    std::string hint;
    bool enabled = true;
    bool visible = true;
};

struct Label : Control {
    Colour colour = Black;
};

struct Button : Control {};

struct Toggle : Control {
    bool checked = false;
};

struct TextEdit : Control {
    std::string text;
};

struct SpinValue : Control {
    int value = 0;
    int minimum = 0;
    int maximum = 0;
};

// A drop-down list or list box: its lines and the marked line (-1 for none).
struct Choice : Control {
    std::vector<std::string> items;
    int marked = -1;

    // Marks `line`; a line outside the list leaves nothing marked.
    void Mark(int line) { marked = line >= 0 && line < static_cast<int>(items.size()) ? line : -1; }
    bool HasMarked() const { return marked >= 0 && marked < static_cast<int>(items.size()); }
    const std::string& MarkedText() const;
    // Replaces the lines; nothing is marked afterwards.
    void SetItems(std::vector<std::string> lines) {
        items = std::move(lines);
        marked = -1;
    }
};

struct Window {
    std::string caption;
    int clientWidth = 0;
    int clientHeight = 0;
};

} // namespace setfolio
