#include "ui/NoticeBoxes.h"

#include "support/HeldBoxes.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace corvane {
namespace {

NoticeBoxes::Notice notice(const char* title, std::function<void()> after = {}) {
    return {QString::fromLatin1(title), QStringLiteral("text"), MsgIcon::Information, true, std::move(after)};
}

// Boxes open from the event loop, one after the other in the order posted, each one's
// follow-up run before the next opens; the same news waiting or on screen is not repeated.
TEST(NoticeBoxes, OpenFromTheEventLoopOneAtATimeInOrder) {
    test::ScriptedDialogs dialogs;
    NoticeBoxes boxes(dialogs, [] { return nullptr; });
    std::string events;
    test::HeldBoxes held(dialogs, 50, [&](const test::ShownBox& box) {
        events += "<" + box.title.toStdString();
        if (held.opened == 1) {
            boxes.post(notice("B", [&] { events += ">B"; })); // news while A is up
            boxes.post(notice("A"));                          // A again while on screen
        }
    });
    boxes.post(notice("A", [&] { events += ">A"; }));
    boxes.post(notice("C", [&] { events += ">C"; }));
    boxes.post(notice("C")); // already waiting
    EXPECT_EQ(held.opened, 0);
    EXPECT_EQ(boxes.waiting(), 2u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.opened == 3 && held.depth == 0; }, 3000));
    QTest::qWait(100);
    EXPECT_EQ(events, "<A>A<C>C<B>B");
    EXPECT_EQ(held.deepest, 1);
    EXPECT_EQ(dialogs.beeps, 3);
    EXPECT_FALSE(boxes.showing());

    // Once closed, the same news is shown again.
    boxes.post(notice("A"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.opened == 4 && held.depth == 0; }, 3000));
}

// The owner may go while its box is up (the program ends under it): the rest is dropped.
TEST(NoticeBoxes, AnOwnerGoneWhileItsBoxIsUpShowsNothingMore) {
    test::ScriptedDialogs dialogs;
    auto boxes = std::make_unique<NoticeBoxes>(dialogs, [] { return nullptr; });
    bool afterRan = false;
    dialogs.whileShown = [&](const test::ShownBox&) { boxes.reset(); };
    boxes->post(notice("A", [&] { afterRan = true; }));
    boxes->post(notice("B"));
    QTest::qWait(50);
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(afterRan);
}

} // namespace
} // namespace corvane
