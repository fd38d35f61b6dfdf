#pragma once
// Listeners of a longer-lived object (a send loop that tells when it is idle, a link that
// tells when its keyer went quiet). add() hands back a Subscription: the listener is called
// until the subscription is released (destroyed, reset or moved over). A window keeps its
// subscriptions as members, so it stops listening when it goes, and the object it listened
// to never calls into something that is gone.
//
// While the listeners are being told, a listener removed (by itself or by another one) is
// not called any more; one added meanwhile is told from the next notification on. The list
// may end before its subscriptions: releasing one then does nothing.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace corvane {

class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    ~Subscription() { reset(); }
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            m_cancel = std::exchange(other.m_cancel, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    // Stops listening now.
    void reset() {
        if (auto cancel = std::exchange(m_cancel, {})) {
            cancel();
        }
    }
    bool active() const { return static_cast<bool>(m_cancel); }

private:
    std::function<void()> m_cancel;
};

template <typename... Args> class Listeners {
public:
    using Listener = std::function<void(Args...)>;

    Listeners() = default;
    Listeners(const Listeners&) = delete;
    Listeners& operator=(const Listeners&) = delete;

    [[nodiscard]] Subscription add(Listener listener) {
        const std::uint64_t id = m_state->nextId++;
        m_state->entries.push_back({id, std::make_shared<Listener>(std::move(listener))});
        return Subscription([weak = std::weak_ptr<State>(m_state), id] {
            if (const auto state = weak.lock()) {
                std::erase_if(state->entries, [id](const Entry& entry) { return entry.id == id; });
            }
        });
    }

    void notify(Args... args) const {
        const std::shared_ptr<State> state = m_state; // outlives a listener that ends the owner
        std::vector<std::uint64_t> ids;
        ids.reserve(state->entries.size());
        for (const Entry& entry : state->entries) {
            ids.push_back(entry.id);
        }
        for (const std::uint64_t id : ids) {
            std::shared_ptr<Listener> listener;
            for (const Entry& entry : state->entries) {
                if (entry.id == id) {
                    listener = entry.listener; // kept alive while it runs, even if it removes itself
                    break;
                }
            }
            if (listener) {
                (*listener)(args...);
            }
        }
    }

    std::size_t size() const { return m_state->entries.size(); }

private:
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<Listener> listener;
    };
    struct State {
        std::vector<Entry> entries;
        std::uint64_t nextId = 1;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace corvane
