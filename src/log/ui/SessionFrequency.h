#pragma once
// The frequency the radio was last read at, waiting in the session for the next contact:
// what the rig feature hands over as it polls.

#include "log/Session.h"
#include "ui/Feature.h"

#include <string>
#include <utility>

namespace corvane {

class SessionFrequency final : public PolledFrequency {
public:
    explicit SessionFrequency(Session& session) : m_session(session) {}
    void hand(std::string text) override { m_session.setRigFrequencyText(std::move(text)); }
    bool waiting() const override { return !m_session.rigFrequencyText().empty(); }

private:
    Session& m_session;
};

} // namespace corvane
