#include "core/Listeners.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace corvane {
namespace {

TEST(Listeners, ASubscriptionListensUntilItIsReleasedOrMovedOver) {
    Listeners<int> listeners;
    std::vector<int> heard;
    std::optional<Subscription> first = listeners.add([&](int v) { heard.push_back(v); });
    Subscription second = listeners.add([&](int v) { heard.push_back(10 * v); });
    listeners.notify(1);
    EXPECT_EQ(heard, (std::vector<int>{1, 10}));

    Subscription moved = std::move(second); // the listener goes with the handle
    EXPECT_FALSE(second.active());
    first.reset(); // destroyed
    listeners.notify(2);
    EXPECT_EQ(heard, (std::vector<int>{1, 10, 20}));
    moved = Subscription(); // moved over
    listeners.notify(3);
    EXPECT_EQ(heard, (std::vector<int>{1, 10, 20}));
    EXPECT_EQ(listeners.size(), 0u);
}

TEST(Listeners, AListenerRemovedWhileTheOthersAreToldIsNotCalledAgain) {
    Listeners<> listeners;
    int firstCalls = 0;
    int laterCalls = 0;
    int addedCalls = 0;
    Subscription later;
    Subscription added;
    // The first listener ends itself and the one after it (a window closed from a listener),
    // and adds another, which is told from the next notification on.
    auto self = std::make_unique<Subscription>();
    *self = listeners.add([&] {
        ++firstCalls;
        self.reset();
        later.reset();
        added = listeners.add([&] { ++addedCalls; });
    });
    later = listeners.add([&] { ++laterCalls; });
    listeners.notify();
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(laterCalls, 0);
    EXPECT_EQ(addedCalls, 0);
    listeners.notify();
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(addedCalls, 1);
}

TEST(Listeners, ASubscriptionMayOutliveItsList) {
    auto listeners = std::make_unique<Listeners<>>();
    int calls = 0;
    Subscription subscription = listeners->add([&] { ++calls; });
    listeners->notify();
    listeners.reset();
    subscription.reset(); // nothing left to remove it from
    EXPECT_FALSE(subscription.active());
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace corvane
