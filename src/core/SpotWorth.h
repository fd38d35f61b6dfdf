#pragma once
// What a spotted call is worth to this log, as the spot list, the band map and the spectrum
// map ask for it: already worked (a duplicate, worth nothing), or the points its grid would
// give when the grid is known. The call history provides the answer; until one is attached,
// every spot is worth "unknown" and the maps draw as they always did.

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

struct SpotWorth {
    bool duplicate = false; // the call is in the log already
    int points = 0;         // what the contact would score; 0 when the grid is not known
    std::string grid;       // the grid the points come from; empty when not known

    // The text of the spot list's "Pts" column: "dupe", the points, or nothing.
    std::string columnText() const {
        if (duplicate) {
            return "dupe";
        }
        return points > 0 ? std::to_string(points) : std::string();
    }
    // What a spot label's tool tip adds: "  worked", "  FN42 3 pts", or nothing.
    std::string toolTipSuffix() const {
        if (duplicate) {
            return "  worked";
        }
        return points > 0 ? "  " + grid + " " + std::to_string(points) + (points == 1 ? " pt" : " pts") : std::string();
    }
    friend bool operator==(const SpotWorth&, const SpotWorth&) = default;
};

class SpotWorthSource {
public:
    virtual ~SpotWorthSource() = default;
    virtual SpotWorth worthOf(std::string_view call) const = 0;
};

// The source the program hands around, and the word that the worth of spots changed (a
// contact logged, edited or deleted, a history loaded): the maps listen and mark again.
class SpotWorthSlot final : public SpotWorthSource {
public:
    void attach(const SpotWorthSource* source) {
        m_source = source;
        changed();
    }
    bool attached() const { return m_source != nullptr; }
    SpotWorth worthOf(std::string_view call) const override {
        return m_source != nullptr ? m_source->worthOf(call) : SpotWorth{};
    }

    // A listener; the number given back takes it away again.
    int listen(std::function<void()> listener) {
        m_listeners.emplace_back(++m_lastId, std::move(listener));
        return m_lastId;
    }
    void unlisten(int id) {
        std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
    }
    void changed() {
        // A listener may take itself away while it is told.
        const auto listeners = m_listeners;
        for (const auto& [id, listener] : listeners) {
            listener();
        }
    }

private:
    const SpotWorthSource* m_source = nullptr;
    std::vector<std::pair<int, std::function<void()>>> m_listeners;
    int m_lastId = 0;
};

} // namespace corvane
