#pragma once
// Message boxes held open for a while: each box the scripted dialogs show runs a real nested
// event loop for holdMs before it is answered, as a modal box does while the operator reads
// it. Timers, arriving bytes and queued calls run meanwhile; the counts tell whether a box
// opened over another one.

#include "support/ScriptedDialogs.h"

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace corvane::test {

struct HeldBoxes {
    int depth = 0;   // boxes open now
    int deepest = 0; // most boxes open at once
    int opened = 0;

    // `onOpen` runs as each box opens, before the nested loop: look at the state then.
    HeldBoxes(ScriptedDialogs& dialogs, int holdMs, std::function<void(const ShownBox&)> onOpen = {}) {
        dialogs.whileShown = [this, holdMs, onOpen = std::move(onOpen)](const ShownBox& box) {
            ++opened;
            deepest = std::max(deepest, ++depth);
            if (onOpen) {
                onOpen(box);
            }
            QEventLoop loop;
            QTimer::singleShot(holdMs, &loop, &QEventLoop::quit);
            loop.exec();
            --depth;
        };
    }
};

} // namespace corvane::test
