#include "common/Signal.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace palisade {
namespace {

TEST(Signal, AScopedSlotHearsOnlyWhileItsHandleLivesAndAPlainOneForever) {
    Signal<int> signal;
    std::vector<int> plain, scoped;
    signal.connect([&](int v) { plain.push_back(v); });
    {
        ScopedConnection held = signal.connect([&](int v) { scoped.push_back(v); });
        ScopedConnection moved = std::move(held); // the move keeps the slot, the source lets go
        signal(1);
    }
    signal(2);
    EXPECT_EQ(plain, (std::vector<int>{1, 2}));
    EXPECT_EQ(scoped, (std::vector<int>{1}));
}

TEST(Signal, ASlotTakenOutByAnEarlierOneOfTheSameCallIsNotRun) {
    Signal<> signal;
    std::optional<ScopedConnection> later;
    int laterRuns = 0;
    signal.connect([&] { later.reset(); });
    later.emplace(signal.connect([&] { ++laterRuns; }));
    signal();
    signal();
    EXPECT_EQ(laterRuns, 0);
}

TEST(Signal, AHandleOutlivingItsSignalLetsGoHarmlessly) {
    ScopedConnection held;
    {
        auto signal = std::make_unique<Signal<>>();
        held = signal->connect([] {});
    }
    Connection plain;
    plain.disconnect(); // nothing connected: nothing happens
}

} // namespace
} // namespace palisade
