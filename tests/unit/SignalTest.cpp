#include "core/Signal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace setfolio;

namespace {

TEST(Signal, SubscriptionsEndWithTheirOwnersAndMayChangeTheListWhileItRuns) {
    Signal<const std::string&> signal;
    std::vector<std::string> heard;
    std::optional<Subscription> second;
    auto first = signal.Subscribe([&](const std::string& text) {
        heard.push_back("first " + text);
        second.reset(); // a handler that ends another one before its turn
    });
    second = signal.Subscribe([&](const std::string& text) { heard.push_back("second " + text); });
    {
        const auto third =
            signal.Subscribe([&](const std::string& text) { heard.push_back("third " + text); });
        signal.Emit("a");
    }
    signal.Emit("b");
    first.Cancel();
    signal.Emit("c");
    EXPECT_EQ(heard, (std::vector<std::string>{"first a", "third a", "first b"}));
}

TEST(Signal, ASubscriptionMovesWithItsOwnerAndMayOutliveItsSignal) {
    Subscription kept;
    int heard = 0;
    {
        Signal<> signal;
        auto made = signal.Subscribe([&] { ++heard; });
        kept = std::move(made);
        made.Cancel(); // the moved-from one holds nothing
        signal.Emit();
    }
    EXPECT_EQ(heard, 1);
    kept.Cancel(); // the signal is gone: nothing to detach from
}

} // namespace
