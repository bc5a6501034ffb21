#pragma once

#include "platform/Prompts.h"

#include <functional>
#include <string>
#include <vector>

namespace setfolio::fake {

// Records what the user would have seen and heard, in order ("beep:warning", "error:<text>").
class FakePrompts : public Prompts {
public:
    void ErrorBox(const std::string& text) override {
        shown.push_back("error:" + text);
        if (onErrorBox)
            onErrorBox(text);
    }
    void WarningBeep() override { shown.push_back("beep:warning"); }
    void DefaultBeep() override { shown.push_back("beep:default"); }
    bool WarningYesNo(const std::string& text) override {
        shown.push_back("question:" + text);
        return answer;
    }

    bool answer = true; // what the user answers to a question
    // Runs while an error box is up, as the user sees the program then.
    std::function<void(const std::string&)> onErrorBox;

    std::vector<std::string> shown;
};

} // namespace setfolio::fake
